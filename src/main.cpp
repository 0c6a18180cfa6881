#include "platform/Platform.h"
#include "platform/input/DetectableAutoRepeat.h"
#include "platform/ui/QtDialogs.h"
#include "shell/DisplayCheck.h"
#include "shell/MainFrame.h"
#include "shell/QtTranslations.h"
#include "shell/help/BuiltInHelp.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // A write past the file size limit is to fail like a full disk, so the
    // append is rolled back and the person told, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const auto problem = DisplayCheck::Problem()) {
        std::fprintf(stderr, "velmora: %s; run it under a virtual one with: xvfb-run -a velmora\n",
                     qPrintable(*problem));
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // Dialogs and the desktop's task switcher take the icon from here.
    QApplication::setWindowIcon(MainFrame::ProgramIcon());
    QtTranslations::Install(app);
    DetectableAutoRepeat::Enable();
    QtDialogs dialogs;
    Platform::SetDialogs(&dialogs);
    BuiltInHelp help;
    Platform::SetHelp(&help);
    dialogs.SetHelpOpener(
        [](const QString &file, int topic) { Platform::GetHelp().ShowHelp(file, topic); });

    MainFrame frame;
    dialogs.SetParent(&frame);
    frame.Start();
    const int code = QApplication::exec();
    Platform::SetDialogs(nullptr);
    Platform::SetHelp(nullptr);
    return code;
}

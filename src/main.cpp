#include "platform/DetectableAutoRepeat.h"
#include "platform/DisplayCheck.h"
#include "platform/Platform.h"
#include "platform/QtDialogs.h"
#include "shell/MDIForm1.h"
#include "shell/help/BuiltInHelp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (const auto problem = DisplayCheck::Problem()) {
        std::fprintf(stderr, "velmora: %s; run it under a virtual one with: xvfb-run -a velmora\n",
                     qPrintable(*problem));
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    DetectableAutoRepeat::Enable();
    QtDialogs dialogs;
    Platform::SetDialogs(&dialogs);
    BuiltInHelp help;
    Platform::SetHelp(&help);
    dialogs.SetHelpOpener(
        [](const QString &file, int topic) { Platform::GetHelp().ShowHelp(file, topic); });

    MDIForm1 frame;
    dialogs.SetParent(&frame);
    frame.Start();
    const int code = QApplication::exec();
    Platform::SetDialogs(nullptr);
    Platform::SetHelp(nullptr);
    return code;
}

#include "platform/Platform.h"
#include "platform/QtDialogs.h"
#include "session/Startup.h"
#include "shell/MDIForm1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when no display can be reached; say in one
// line what is missing and how to run the program anyway.
bool displayReachable()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayReachable()) {
        std::fputs("velmora: no display found (DISPLAY is not set); "
                   "run it under a virtual one with: xvfb-run -a velmora\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QtDialogs dialogs;
    Platform::SetDialogs(&dialogs);

    MDIForm1 frame;
    dialogs.SetParent(&frame);
    Startup::Main(frame);
    const int code = QApplication::exec();
    Platform::SetDialogs(nullptr);
    return code;
}

#include "Platform.h"

#include "Clock.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

Dialogs *g_dialogs = nullptr;
const Clock *g_clock = nullptr;
HelpViewer *g_help = nullptr;

[[noreturn]] void missing(const char *service)
{
    Q_ASSERT_X(false, "Platform", service);
    std::fprintf(stderr, "velmora: %s\n", service);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

Dialogs &Platform::GetDialogs()
{
    if (g_dialogs == nullptr)
        missing("no dialogs installed: the program's messages could not be shown");
    return *g_dialogs;
}

void Platform::SetDialogs(Dialogs *dialogs)
{
    g_dialogs = dialogs;
}

const Clock &Platform::GetClock()
{
    static const SystemClock system;
    if (g_clock != nullptr)
        return *g_clock;
    return system;
}

void Platform::SetClock(const Clock *clock)
{
    g_clock = clock;
}

HelpViewer &Platform::GetHelp()
{
    if (g_help == nullptr)
        missing("no help viewer installed: help could not be shown");
    return *g_help;
}

void Platform::SetHelp(HelpViewer *help)
{
    g_help = help;
}

void Platform::RequireServices()
{
    GetDialogs();
    GetHelp();
}

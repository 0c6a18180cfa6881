#include "Platform.h"

#include "Clock.h"
#include "HelpRequests.h"
#include "ScriptedDialogs.h"

namespace {

Dialogs *g_dialogs = nullptr;
const Clock *g_clock = nullptr;
HelpViewer *g_help = nullptr;

} // namespace

Dialogs &Platform::GetDialogs()
{
    static ScriptedDialogs fallback;
    if (g_dialogs != nullptr)
        return *g_dialogs;
    return fallback;
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
    static HelpRequests fallback;
    if (g_help != nullptr)
        return *g_help;
    return fallback;
}

void Platform::SetHelp(HelpViewer *help)
{
    g_help = help;
}

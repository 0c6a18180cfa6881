#include "Platform.h"

#include "Clock.h"
#include "ScriptedDialogs.h"

namespace {

Dialogs *g_dialogs = nullptr;
const Clock *g_clock = nullptr;

} // namespace

Dialogs &Platform::GetDialogs()
{
    static ScriptedDialogs fallback;
    return g_dialogs != nullptr ? *g_dialogs : fallback;
}

void Platform::SetDialogs(Dialogs *dialogs)
{
    g_dialogs = dialogs;
}

const Clock &Platform::GetClock()
{
    static const SystemClock system;
    return g_clock != nullptr ? *g_clock : system;
}

void Platform::SetClock(const Clock *clock)
{
    g_clock = clock;
}

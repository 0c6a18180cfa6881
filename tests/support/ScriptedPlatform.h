#pragma once

#include "HelpRequests.h"
#include "ScriptedDialogs.h"
#include "platform/Platform.h"

// The platform a test runs on: the modal dialogs answered from a script and
// the help requests noted instead of shown, installed for as long as the
// object lives. The program has no such fallback, so every test that can
// reach a dialog or the help holds one. A clock a test installs itself is
// taken out again at the end as well.
class ScriptedPlatform
{
public:
    ScriptedPlatform()
    {
        Platform::SetDialogs(&dialogs);
        Platform::SetHelp(&help);
    }
    ~ScriptedPlatform()
    {
        Platform::SetDialogs(nullptr);
        Platform::SetHelp(nullptr);
        Platform::SetClock(nullptr);
    }
    ScriptedPlatform(const ScriptedPlatform &) = delete;
    ScriptedPlatform &operator=(const ScriptedPlatform &) = delete;

    // Forgets the script and both logs.
    void Clear()
    {
        dialogs.Clear();
        help.Clear();
    }

    ScriptedDialogs dialogs;
    HelpRequests help;
};

#pragma once

class Clock;
class Dialogs;
class HelpViewer;

// Where the program finds the services that differ between a real session
// and a test: the modal dialogs, the clock and the help viewer. Until
// something else is set, dialogs are answered by a non-blocking script, the
// system clock runs and help requests are only noted.
class Platform
{
public:
    static Dialogs &GetDialogs();
    // nullptr restores the default.
    static void SetDialogs(Dialogs *dialogs);

    static const Clock &GetClock();
    static void SetClock(const Clock *clock);

    static HelpViewer &GetHelp();
    // nullptr restores the default.
    static void SetHelp(HelpViewer *help);
};

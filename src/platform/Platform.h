#pragma once

class Clock;
class Dialogs;

// Where the program finds the services that differ between a real session
// and a test: the modal dialogs and the clock. Until something else is set,
// dialogs are answered by a non-blocking script and the system clock runs.
class Platform
{
public:
    static Dialogs &GetDialogs();
    // nullptr restores the default.
    static void SetDialogs(Dialogs *dialogs);

    static const Clock &GetClock();
    static void SetClock(const Clock *clock);
};

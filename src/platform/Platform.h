#pragma once

class Clock;
class Dialogs;
class HelpViewer;

// Where the program finds the services that differ between a real session
// and a test: the modal dialogs, the clock and the help viewer. The system
// clock runs until another is set; dialogs and help have no stand-in: used
// before they are installed, they end the program with a message saying so,
// since a question nobody can see or answer must never pass unnoticed.
class Platform
{
public:
    static Dialogs &GetDialogs();
    static void SetDialogs(Dialogs *dialogs);

    static const Clock &GetClock();
    // nullptr restores the system clock.
    static void SetClock(const Clock *clock);

    static HelpViewer &GetHelp();
    static void SetHelp(HelpViewer *help);

    // Ends the program, with a message, unless dialogs and help are there.
    static void RequireServices();
};

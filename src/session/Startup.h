#pragma once

#include <QString>

#include <cstdint>

class MDIForm1;

// The program's entry routine and the facts it settles once per process:
// the drift timer's tick for this kind of system and the path of the
// default history file beside the program.
class Startup
{
public:
    // Sets the session's tick and history path and brings up the test window
    // inside the frame.
    static void Main(MDIForm1 &frame);

    static std::int16_t TickIntervalFor(int platformId);
    // The program's directory, a separator and "restest.dat".
    static QString DefaultDataPath();
    static QString DataPathIn(const QString &directory);
};

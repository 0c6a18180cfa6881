#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// The program's entry routine and the facts it settles once per process:
// the drift timer's tick for this kind of system and the path of the
// default history file beside the program.
class Startup
{
public:
    // Sets the session's tick and history path, then brings up the test
    // window through the given opener (the frame, which hosts it).
    static void Main(const std::function<void()> &showTestWindow);

    static std::int16_t TickIntervalFor(int platformId);
    // The program's directory, a separator and "restest.dat".
    static QString DefaultDataPath();
    static QString DataPathIn(const QString &directory);
};

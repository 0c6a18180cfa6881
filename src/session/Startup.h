#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// The program's entry routine and the facts it settles for the process:
// the drift timer's tick for this kind of system and the path of the
// default history file beside the program.
class Startup
{
public:
    // Makes sure the program can ask and answer (its dialogs and help are
    // there), then brings up the test window through the given opener (the
    // frame, which hosts it).
    static void Main(const std::function<void()> &showTestWindow);

    // The drift timer's tick on this system, in milliseconds.
    static std::int16_t TickInterval();
    static std::int16_t TickIntervalFor(int platformId);
    // The program's directory, a separator and "restest.dat".
    static QString DefaultHistoryPath();
    static QString HistoryPathIn(const QString &directory);
};

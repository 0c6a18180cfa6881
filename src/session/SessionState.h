#pragma once

#include "session/HistoryRecord.h"

#include <QString>

#include <array>
#include <cstdint>

// The process-wide state through which the test window, the results window,
// the data window and the history commands hand the current test to one
// another. It is plain shared data on purpose: every window reads and writes
// the fields directly, on the one user-interface thread, and nothing of it is
// saved except the record a finished run appends.
struct SessionState
{
    std::int16_t TickInterval = 0;
    QString DataPath;
    bool TestFormActive = false;
    bool DataFormActive = false;
    std::int16_t RecNo = 0;
    QString ExportText;
    HistoryRecord CurrentRecord;
    // Counts[0] is the warm-up interval; Counts[1..4] are c1..c4.
    std::array<std::int16_t, 5> Counts{};
    std::int16_t IntervalNo = 0;
    std::int16_t KeyCount = 0;
    bool KeysStarted = false;
    bool LoopIdle = false;
    bool DiagramArmed = false;
    std::int16_t LastKey = 0;
    float PenX = 0.0F;
    float PenY = 0.0F;
};

// The one session of this process.
SessionState &Session();
// Back to the state at process start; for tests.
void ResetSession();

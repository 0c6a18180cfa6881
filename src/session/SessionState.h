#pragma once

#include "record/HistoryRecord.h"

#include <QString>

#include <array>
#include <cstdint>

// The counts of a run's intervals: [0] is the warm-up interval, [1..4] are
// the counts c1..c4 that are stored and evaluated.
using IntervalCounts = std::array<std::int16_t, 5>;

// The process-wide state through which the test window, the results window,
// the data window and the history commands hand the current test to one
// another. It is plain shared data on purpose: every window reads and writes
// the fields directly, on the one user-interface thread, and nothing of it is
// saved except the record a finished run appends. What only a test run
// needs while it goes on is the run's own (TestRun).
struct SessionState
{
    std::int16_t TickInterval = 0;
    QString DataPath;
    bool TestFormActive = false;
    bool DataFormActive = false;
    std::int16_t RecNo = 0;
    QString ExportText;
    HistoryRecord CurrentRecord;
    IntervalCounts Counts{};
    float PenX = 0.0F;
    float PenY = 0.0F;
};

// The one session of this process.
SessionState &Session();

#pragma once

#include <QList>

#include <cstdint>

// One counted key release of a completed test, kept for the analysis of the
// gaps between presses. The 80-byte record keeps only the counts; these are
// kept beside it, in a companion file of the history.
struct KeyPress
{
    int interval = 0;     // 0..4; 0 is the first interval, which the record does not store
    int number = 0;       // 1.. its number in the test (all intervals together)
    qint64 ms = 0;        // since the test's first counted release (which has 0)
    std::int16_t key = 0; // the key code as TestRun::KeyUp got it

    friend bool operator==(const KeyPress &, const KeyPress &) = default;
};
using KeyPresses = QList<KeyPress>;

#pragma once

#include <QDate>
#include <QTime>

#include <cstdint>

// The clocks the program reads: the wall clock for the date and time stored
// with a test and for the start of a run's first interval, and a monotonic
// clock that times the intervals themselves. Tests put a clock of their own
// in its place.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate Today() const = 0;
    // The time of day, with milliseconds.
    virtual QTime TimeOfDay() const = 0;
    // Nanoseconds from an arbitrary fixed point; never goes back.
    virtual std::int64_t MonotonicNs() const = 0;

    // Seconds since midnight, with the fraction.
    double SecondsSinceMidnight() const { return TimeOfDay().msecsSinceStartOfDay() / 1000.0; }
};

class SystemClock : public Clock
{
public:
    QDate Today() const override;
    QTime TimeOfDay() const override;
    std::int64_t MonotonicNs() const override;
};

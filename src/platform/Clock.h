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
    // The date and the time of day of one reading of the wall clock.
    struct Reading
    {
        QDate date;
        QTime time; // with milliseconds
    };

    virtual ~Clock() = default;
    // Date and time are taken together: read one after the other they could
    // straddle midnight and give the old day with the new day's first second.
    virtual Reading Now() const = 0;
    // Nanoseconds from an arbitrary fixed point; never goes back.
    virtual std::int64_t MonotonicNs() const = 0;

    QDate Today() const { return Now().date; }
    QTime TimeOfDay() const { return Now().time; }
    // Seconds since midnight, with the fraction.
    double SecondsSinceMidnight() const { return TimeOfDay().msecsSinceStartOfDay() / 1000.0; }
};

class SystemClock : public Clock
{
public:
    Reading Now() const override;
    std::int64_t MonotonicNs() const override;
};

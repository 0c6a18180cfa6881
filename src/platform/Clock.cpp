#include "Clock.h"

#include <QDateTime>

#include <chrono>

QDate SystemClock::Today() const
{
    return QDate::currentDate();
}

QTime SystemClock::TimeOfDay() const
{
    return QTime::currentTime();
}

std::int64_t SystemClock::MonotonicNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

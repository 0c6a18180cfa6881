#include "Clock.h"

#include <QDateTime>

#include <chrono>

Clock::Reading SystemClock::Now() const
{
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date(), now.time()};
}

std::int64_t SystemClock::MonotonicNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

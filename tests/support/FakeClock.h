#pragma once

#include "platform/Clock.h"

// A clock that stands still until a test moves it, or that moves on by a
// set step each time it is read, like a real clock read at the very end of
// a second.
class FakeClock : public Clock
{
public:
    Reading Now() const override
    {
        const Reading reading{m_date, m_time};
        if (m_stepPerReadingMs > 0)
            const_cast<FakeClock *>(this)->AdvanceMs(m_stepPerReadingMs);
        return reading;
    }
    std::int64_t MonotonicNs() const override { return m_monotonicNs; }

    void Set(const QDate &date, const QTime &time)
    {
        m_date = date;
        m_time = time;
    }
    void AdvanceMs(int ms)
    {
        m_monotonicNs += std::int64_t(ms) * 1000000;
        const int before = m_time.msecsSinceStartOfDay();
        m_time = m_time.addMSecs(ms);
        if (m_time.msecsSinceStartOfDay() < before)
            m_date = m_date.addDays(1);
    }
    // Moves the monotonic clock alone, as far as it takes (weeks of uptime).
    void SetMonotonicNs(std::int64_t ns) { m_monotonicNs = ns; }
    // Every later reading of the wall clock moves it on by this much.
    void SetStepPerReadingMs(int ms) { m_stepPerReadingMs = ms; }

private:
    QDate m_date{2002, 12, 7};
    QTime m_time{14, 30, 0};
    std::int64_t m_monotonicNs = 1000000000;
    int m_stepPerReadingMs = 0;
};

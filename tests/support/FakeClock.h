#pragma once

#include "platform/Clock.h"

// A clock that stands still until a test moves it.
class FakeClock : public Clock
{
public:
    QDate Today() const override { return m_date; }
    QTime TimeOfDay() const override { return m_time; }
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

private:
    QDate m_date{2002, 12, 7};
    QTime m_time{14, 30, 0};
    std::int64_t m_monotonicNs = 1000000000;
};

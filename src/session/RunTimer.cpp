#include "RunTimer.h"

#include "platform/Clock.h"
#include "platform/Platform.h"
#include "record/HalfEven.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

RunTimer::RunTimer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RunTimer::OnTimeout);
}

double RunTimer::FirstIntervalSeconds(double secondsSinceMidnight)
{
    // The clock is read in single precision, as the intervals were always
    // measured; only the rounding of the start depends on that.
    const auto reading = static_cast<float>(secondsSinceMidnight);
    const double start = HalfEven::Round(static_cast<double>(reading));
    return start + double(IntervalNs) / 1e9 - secondsSinceMidnight;
}

void RunTimer::Start()
{
    const Clock &clock = Platform::GetClock();
    const double wall = clock.SecondsSinceMidnight();
    const std::int64_t now = clock.MonotonicNs();
    m_deadlineNs = now + static_cast<std::int64_t>(std::llround(FirstIntervalSeconds(wall) * 1e9));
    m_firstDueNs = m_deadlineNs;
    m_running = true;
    Arm();
}

void RunTimer::Stop()
{
    m_running = false;
    m_timer.stop();
}

void RunTimer::EndIntervalNow()
{
    if (!m_running)
        return;
    // The next end stays on the grid even when this one is handled late
    // (a busy machine, a stopped process): the releases are placed by the
    // time they were made, so an interval keeps its five seconds of input
    // whenever its end is handled. An end missed altogether comes at once.
    m_timer.stop();
    m_lastDueNs = m_deadlineNs;
    m_lastEndNs = std::max(m_deadlineNs, Platform::GetClock().MonotonicNs());
    m_deadlineNs = m_lastDueNs + IntervalNs;
    // The handlers may let events through to take in the input still on its
    // way; the next end is armed only after them, so it cannot come in the
    // middle of this one; a window closed meanwhile may have taken this
    // timer with it.
    const QPointer<RunTimer> alive(this);
    emit IntervalEnded();
    if (!alive.isNull() && m_running)
        Arm();
}

void RunTimer::Arm()
{
    // Timers count whole milliseconds: wake at the last whole millisecond
    // before the end and, for the fraction left, yield to the event loop
    // until it has passed, so an end comes well within a millisecond.
    const std::int64_t left = m_deadlineNs - Platform::GetClock().MonotonicNs();
    const auto ms = left <= 0 ? 0 : static_cast<int>(left / 1'000'000);
    m_timer.start(ms);
}

void RunTimer::OnTimeout()
{
    if (!m_running)
        return;
    // A timer may wake a little early; never end an interval before its time.
    if (Platform::GetClock().MonotonicNs() < m_deadlineNs) {
        Arm();
        return;
    }
    EndIntervalNow();
}

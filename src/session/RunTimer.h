#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

// Times the intervals of a test run without keeping the processor busy. The
// first interval ends five seconds after the wall clock's whole second
// nearest to the run's first key release (halves to the even second), so it
// lasts 4.5 to 5.5 seconds; every later one ends exactly five seconds after
// the one before was due, however late that end was handled. The ends are a
// fixed grid on the monotonic clock, the clock key events are stamped with,
// so a release can be placed in its interval by its own time stamp, a late
// end neither shortens nor stretches an interval, and neither midnight nor
// a change of the system time can stretch a run.
class RunTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr std::int64_t IntervalNs = 5'000'000'000;

    explicit RunTimer(QObject *parent = nullptr);

    void Start();
    void Stop();
    bool IsRunning() const { return m_running; }

    // Monotonic time at which the interval being timed ends, and at which
    // the latest end was handled.
    std::int64_t DeadlineNs() const { return m_deadlineNs; }
    std::int64_t LastEndNs() const { return m_lastEndNs; }
    // When the latest interval was due to end: how late its end came is
    // measured against this.
    std::int64_t LastDueNs() const { return m_lastDueNs; }
    // When the first interval of the run is due to end; interval k ends
    // k times IntervalNs after it.
    std::int64_t FirstDueNs() const { return m_firstDueNs; }

    // Ends the interval being timed at once, as if its time had come; lets
    // tests run through a test without waiting for it.
    void EndIntervalNow();

    // Seconds from a wall-clock reading to the end of the first interval.
    static double FirstIntervalSeconds(double secondsSinceMidnight);

signals:
    void IntervalEnded();

private:
    void OnTimeout();
    void Arm();

    QTimer m_timer{this};
    std::int64_t m_firstDueNs = 0;
    std::int64_t m_deadlineNs = 0;
    std::int64_t m_lastEndNs = 0;
    std::int64_t m_lastDueNs = 0;
    bool m_running = false;
};

#pragma once

#include "RunTimer.h"
#include "record/HistoryRecord.h"
#include "record/KeyPress.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

// One test run, with no window of its own: the states from "Start" through
// the five intervals to the stop, the counting of key releases, the timing
// of the intervals and the beat of the diagram's drift, and the run's own
// record. The record and the counts belong to the run alone from Start until
// they are stored: no other window reads or changes them, and the live
// counts are seen only by the test window, its view, which forwards the
// keys to it and follows the signals.
//
// A release counts in the interval in which it was made. Where the key
// events carry the time they were made on the monotonic clock the intervals
// are timed on (X11, Wayland), a release is placed by that time stamp, so a
// program held up across an interval end (a busy machine, a stopped
// process) counts it in its own interval however late it handles it; where
// they do not (no stamp, or one from another time base, as the first
// release shows), a release counts in the interval going on when it is
// handled. At every end the input already made but not yet handled is
// taken in before the interval closes.
class TestRun : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Armed, Counting };

    static constexpr int IntervalsPerRun = 5;

    explicit TestRun(QObject *parent = nullptr);

    // The drift timer's interval in milliseconds; at 0 the diagram drifts
    // never.
    void SetTickInterval(int ms) { m_driftTimer.setInterval(ms); }

    // "Start": asks for the tested person's name and, unless it is blank,
    // arms the run, which then waits for the first key release.
    void Start();
    // Asks for the name and puts it into the run's record.
    void EnterTestedName();
    // Esc going down aborts the run; nothing else does anything.
    void KeyDown(std::int16_t keyCode);
    // Every release but Enter's counts, into the interval in which it was
    // made. timestampMs: when it was made, as the window system stamps key
    // events (QInputEvent::timestamp()); 0 when unknown.
    void KeyUp(std::int16_t keyCode, quint64 timestampMs = 0);
    // What takes in the input events already made but not yet handled,
    // called at each interval end before the interval closes.
    void SetPendingInput(std::function<void()> takeIn) { m_takeInPending = std::move(takeIn); }
    // Gives up a run whose window goes away: like Esc, without the stop the
    // window would show.
    void Abandon();
    // A tick of the drift timer.
    void OnDriftTick() { emit DiagramStep(false); }

    State CurrentState() const { return m_state; }
    std::int16_t IntervalNo() const { return m_intervalNo; }
    // The releases counted so far in the interval going on.
    std::int16_t KeyCount() const;
    // Whether this run places releases by their time stamps; decided at its
    // first release.
    bool PlacesByTimestamp() const { return m_byTimestamp; }
    // The code of the latest release counted.
    std::int16_t LastKey() const { return m_lastKey; }
    // From the first counted release until the stop.
    bool KeysStarted() const { return m_state == State::Counting; }
    // Later releases move the diagram once the first has been counted.
    bool DiagramArmed() const { return m_state == State::Counting; }
    // The intervals are not being timed.
    bool LoopIdle() const { return !m_intervals.IsRunning(); }

    // The run's own counts and record: the name, date and time taken at
    // Start. Handlers of Completed complete a copy of the record from the
    // counts and store it.
    const IntervalCounts &Counts() const { return m_counts; }
    const HistoryRecord &Record() const { return m_record; }
    // Every counted release of the run, in the order handled, each with its
    // moment: when its key event was made where the run places releases by
    // time stamps, else when it was handled. Whole when Completed is
    // emitted and kept until the next Start; empty after an abort.
    const KeyPresses &Presses() const { return m_presses; }

    RunTimer *Intervals() { return &m_intervals; }
    // The drift timer: each tick is one drift step of the diagram.
    QTimer *DriftTimer() { return &m_driftTimer; }

signals:
    // Start has armed the run.
    void Armed();
    // A release was counted; the count of its interval so far.
    void KeyCounted(std::int16_t keyCount);
    // The diagram takes a step: up for a key, down for a drift tick.
    void DiagramStep(bool keyStep);
    void IntervalEnded();
    // The run has stopped, by Esc or after the fifth interval.
    void Stopped();
    // The fifth interval has ended and the run has stopped: its record is
    // to be stored now.
    void Completed();
    // Esc stopped the run, or its window went away: nothing is stored and
    // its counts are all 0.
    void Aborted();

private:
    // Whether the first release's stamp is on the monotonic clock.
    static bool TimestampTrusted(quint64 timestampMs);
    // The monotonic time a stamp stands for.
    static std::int64_t StampNs(quint64 timestampMs);
    // The interval a release belongs in; none when it was made after the
    // run's last end. stampedNs: when it was made, where the run places
    // releases by time stamps and the release has one.
    std::optional<std::size_t> IntervalOf(std::optional<std::int64_t> stampedNs) const;
    void RecordPress(std::size_t interval, std::int16_t keyCode, std::int64_t madeNs);
    void RunIntervals();
    void OnIntervalEnded();
    void StopTest();
    // Stops the timing and the drift and clears the run's counters.
    void EndRun();
    void StartDrift();

    State m_state = State::Idle;
    std::int16_t m_intervalNo = 0;
    std::int16_t m_lastKey = 0;
    bool m_byTimestamp = false;
    // Tells a run from the next, across the events let through at an end.
    quint64 m_runNumber = 0;
    std::function<void()> m_takeInPending;
    IntervalCounts m_counts{};
    KeyPresses m_presses;
    // The moment of the run's first counted release, which the others are
    // timed from.
    std::int64_t m_firstNs = 0;
    HistoryRecord m_record;
    RunTimer m_intervals;
    QTimer m_driftTimer;
};

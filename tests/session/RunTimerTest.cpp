// When the intervals of a run end: the first after 4.5 to 5.5 seconds,
// depending on the rounding of the wall clock at the first release, the
// later ones exactly five seconds apart however late an end is handled,
// and a run across midnight like any other.
#include "session/RunTimer.h"
#include "FakeClock.h"
#include "platform/Platform.h"

#include <QSignalSpy>
#include <QTest>

class RunTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { Platform::SetClock(&m_clock); }
    void cleanup() { Platform::SetClock(nullptr); }
    void firstInterval_data();
    void firstInterval();
    void laterIntervalsAreFiveSecondsApart();
    void endsOnlyWhenDue();
    void lateEndMovesNoLaterEnd();
    void stoppedTimerEndsNothing();

private:
    FakeClock m_clock;
};

void RunTimerTest::firstInterval_data()
{
    QTest::addColumn<QTime>("firstRelease");
    QTest::addColumn<double>("seconds");
    QTest::newRow("rounds up") << QTime(14, 30, 0, 600) << 5.4;
    QTest::newRow("rounds down") << QTime(14, 30, 0, 200) << 4.8;
    QTest::newRow("half to even, down") << QTime(14, 30, 0, 500) << 4.5;
    QTest::newRow("half to even, up") << QTime(14, 30, 1, 500) << 5.5;
    QTest::newRow("whole second") << QTime(14, 30, 2) << 5.0;
    QTest::newRow("just before midnight") << QTime(23, 59, 59, 700) << 5.3;
}

void RunTimerTest::firstInterval()
{
    QFETCH(QTime, firstRelease);
    QFETCH(double, seconds);
    QCOMPARE(RunTimer::FirstIntervalSeconds(firstRelease.msecsSinceStartOfDay() / 1000.0), seconds);

    m_clock.Set(QDate(2002, 12, 7), firstRelease);
    RunTimer timer;
    const std::int64_t start = m_clock.MonotonicNs();
    timer.Start();
    QVERIFY(timer.IsRunning());
    QCOMPARE(timer.DeadlineNs() - start, std::int64_t(std::llround(seconds * 1e9)));
}

void RunTimerTest::laterIntervalsAreFiveSecondsApart()
{
    m_clock.Set(QDate(2002, 12, 7), QTime(23, 59, 52, 300));
    RunTimer timer;
    QSignalSpy ends(&timer, &RunTimer::IntervalEnded);
    timer.Start();
    const std::int64_t first = timer.DeadlineNs();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(timer.DeadlineNs(), first + i * RunTimer::IntervalNs);
        timer.EndIntervalNow();
        QCOMPARE(timer.LastEndNs(), first + i * RunTimer::IntervalNs);
    }
    QCOMPARE(ends.size(), 5);
}

// The real timer decides by the monotonic clock: woken a little early it
// waits on, and it ends the interval once the time has come.
void RunTimerTest::endsOnlyWhenDue()
{
    m_clock.Set(QDate(2002, 12, 7), QTime(10, 0, 0, 0));
    RunTimer timer;
    QSignalSpy ends(&timer, &RunTimer::IntervalEnded);
    timer.Start();
    auto *wakeUp = timer.findChild<QTimer *>();
    QVERIFY(wakeUp);
    QCOMPARE(wakeUp->timerType(), Qt::PreciseTimer);
    m_clock.AdvanceMs(4999);
    wakeUp->start(0);
    QTest::qWait(30);
    QCOMPARE(ends.size(), 0);
    m_clock.AdvanceMs(1);
    QTRY_COMPARE(ends.size(), 1);
    QCOMPARE(timer.LastEndNs(), m_clock.MonotonicNs());
}

// A program held up until seven seconds past the first end handles that
// end late, the second at once (it is due too), and the third on time: the
// ends
// keep to their grid on the monotonic clock, so the releases placed by
// their time stamps find every interval five seconds long.
void RunTimerTest::lateEndMovesNoLaterEnd()
{
    m_clock.Set(QDate(2002, 12, 7), QTime(10, 0, 0, 0));
    RunTimer timer;
    QSignalSpy ends(&timer, &RunTimer::IntervalEnded);
    timer.Start();
    const std::int64_t first = timer.DeadlineNs();
    QCOMPARE(timer.FirstDueNs(), first);
    auto *wakeUp = timer.findChild<QTimer *>();
    QVERIFY(wakeUp);
    m_clock.AdvanceMs(5000 + 7000);
    wakeUp->start(0);
    QTRY_COMPARE(ends.size(), 2);
    QTest::qWait(30);
    QCOMPARE(ends.size(), 2);
    QCOMPARE(timer.LastDueNs(), first + RunTimer::IntervalNs);
    QCOMPARE(timer.LastEndNs(), m_clock.MonotonicNs());
    QCOMPARE(timer.DeadlineNs(), first + 2 * RunTimer::IntervalNs);
    QCOMPARE(timer.FirstDueNs(), first);
    m_clock.AdvanceMs(3000);
    QTRY_COMPARE(ends.size(), 3);
    QCOMPARE(timer.LastEndNs(), first + 2 * RunTimer::IntervalNs);
}

void RunTimerTest::stoppedTimerEndsNothing()
{
    RunTimer timer;
    QSignalSpy ends(&timer, &RunTimer::IntervalEnded);
    timer.EndIntervalNow();
    timer.Start();
    timer.Stop();
    timer.EndIntervalNow();
    QVERIFY(!timer.IsRunning());
    QCOMPARE(ends.size(), 0);
}

QTEST_GUILESS_MAIN(RunTimerTest)
#include "RunTimerTest.moc"

// A test run without its window: Start with the name prompt, the counting
// of releases, the drift's beat, the interval ends against a standing
// clock, Esc, and the record stored at the end into a temporary history,
// the way the main frame stores it.
#include "session/TestRun.h"
#include "FakeClock.h"
#include "ScriptedPlatform.h"
#include "history/HistoryStore.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/input/KeyCodes.h"
#include "record/OleDate.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

using State = TestRun::State;

namespace {

constexpr std::int16_t KeyA = 'A';
constexpr std::int64_t NsPerMs = 1'000'000;

// The time stamp a key event made at a moment of the monotonic clock
// carries: its milliseconds cut to 32 bits, as X11 and Wayland send them;
// an hour off for a window system on a clock of its own; or none.
quint64 stampOf(const QString &stamps, std::int64_t madeNs)
{
    const std::int64_t ms = madeNs / NsPerMs;
    if (stamps == QLatin1String("none"))
        return 0;
    if (stamps == QLatin1String("other clock"))
        return quint64(std::uint32_t(ms + 3'600'000));
    return quint64(std::uint32_t(ms));
}

} // namespace

class TestRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startWithoutName_data();
    void startWithoutName();
    void startArmsTheRun();
    void enterIsNeverCounted();
    void countingAndTheDrift_data();
    void countingAndTheDrift();
    void escAborts_data();
    void escAborts();
    void abandonedRunLeavesNothing();
    void completedRunIsStored();
    void runAgainstTheClock_data();
    void runAgainstTheClock();
    void intervalsWithoutReleaseStoreNothingOld_data();
    void intervalsWithoutReleaseStoreNothingOld();
    void releasesCountWhereMade_data();
    void releasesCountWhereMade();
    void namePromptShowsWhatIsStored_data();
    void namePromptShowsWhatIsStored();

private:
    void Start(const QString &name);
    void Releases(int count, std::int16_t key = KeyA);
    void EndInterval() { m_run->Intervals()->EndIntervalNow(); }
    // What the main frame does when a run has completed.
    void Store()
    {
        HistoryRecord record = m_run->Record();
        HistoryStore::Append(HistoryPath(), record, m_run->Counts());
    }
    QString HistoryPath() const { return m_dir.filePath(QStringLiteral("restest.dat")); }
    QByteArray History() const;

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    FakeClock m_clock;
    std::unique_ptr<TestRun> m_run;
};

void TestRunTest::init()
{
    QFile::remove(HistoryPath());
    m_dialogs.Clear();
    Platform::SetClock(&m_clock);
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0, 200));
    m_clock.SetStepPerReadingMs(0);
    m_run = std::make_unique<TestRun>();
    m_run->SetTickInterval(60);
    connect(m_run.get(), &TestRun::Completed, this, &TestRunTest::Store);
}

void TestRunTest::cleanup()
{
    m_run.reset();
    Platform::SetClock(nullptr);
}

void TestRunTest::Start(const QString &name)
{
    m_dialogs.QueueInput(name);
    m_run->Start();
}

void TestRunTest::Releases(int count, std::int16_t key)
{
    for (int i = 0; i < count; ++i) {
        m_run->KeyDown(key);
        m_run->KeyUp(key);
    }
}

QByteArray TestRunTest::History() const
{
    QFile file(HistoryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestRunTest::startWithoutName_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::newRow("cancelled") << std::optional<QString>();
    QTest::newRow("empty") << std::optional<QString>(QString());
    QTest::newRow("blanks") << std::optional<QString>(QStringLiteral("    "));
}

void TestRunTest::startWithoutName()
{
    QFETCH(std::optional<QString>, answer);
    QSignalSpy armed(m_run.get(), &TestRun::Armed);
    m_dialogs.QueueInput(answer);
    m_run->Start();

    QCOMPARE(m_dialogs.Log().size(), 1);
    const auto &input = std::get<Dialogs::Input>(m_dialogs.Log().first());
    QCOMPARE(input.prompt, QStringLiteral("Enter name of tested please!"));
    QCOMPARE(input.title, QStringLiteral("Input"));
    QCOMPARE(input.defaultText, QString());
    QCOMPARE(input.helpFile, QStringLiteral("Velm2.chm"));
    QCOMPARE(input.helpTopic, HelpTopic::Test);

    QCOMPARE(m_run->CurrentState(), State::Idle);
    QCOMPARE(armed.size(), 0);
    // Releases reach a run only once it is armed.
    Releases(3);
    QCOMPARE(m_run->KeyCount(), std::int16_t(0));
}

void TestRunTest::startArmsTheRun()
{
    QSignalSpy armed(m_run.get(), &TestRun::Armed);
    Start(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));

    QCOMPARE(m_run->CurrentState(), State::Armed);
    QCOMPARE(armed.size(), 1);
    QCOMPARE(m_run->Record().RecName, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(m_run->Counts(), IntervalCounts{});
    QCOMPARE(m_run->KeyCount(), std::int16_t(0));
    QCOMPARE(m_run->IntervalNo(), std::int16_t(0));
    QCOMPARE(m_run->Record().RecDate, 37597.0);
    QCOMPARE(m_run->Record().RecTime, 52200.0 / 86400.0);
    QVERIFY(!m_run->KeysStarted());
    QVERIFY(m_run->LoopIdle());
    QVERIFY(!m_run->DriftTimer()->isActive());
    // A second Start while armed asks nothing.
    m_run->Start();
    QCOMPARE(m_dialogs.Log().size(), 1);
}

void TestRunTest::enterIsNeverCounted()
{
    Start(QStringLiteral("Ann"));
    // The release of the Enter that confirmed the name arrives here.
    m_run->KeyUp(KeyCodes::Enter);
    QCOMPARE(m_run->CurrentState(), State::Armed);
    QCOMPARE(m_run->KeyCount(), std::int16_t(0));
    Releases(3);
    m_run->KeyUp(KeyCodes::Enter);
    QCOMPARE(m_run->KeyCount(), std::int16_t(3));
    QCOMPARE(m_run->LastKey(), KeyA);
}

void TestRunTest::countingAndTheDrift_data()
{
    QTest::addColumn<int>("tick");
    QTest::addColumn<bool>("drifts");
    QTest::newRow("NT family") << 60 << true;
    QTest::newRow("no tick: never drifts") << 0 << false;
}

// The first release starts the timing and arms the diagram; the key steps
// and the drift begin with the second.
void TestRunTest::countingAndTheDrift()
{
    QFETCH(int, tick);
    QFETCH(bool, drifts);
    m_run->SetTickInterval(tick);
    QSignalSpy steps(m_run.get(), &TestRun::DiagramStep);
    QSignalSpy counted(m_run.get(), &TestRun::KeyCounted);
    Start(QStringLiteral("Ann"));
    Releases(1);
    QCOMPARE(m_run->CurrentState(), State::Counting);
    QVERIFY(m_run->KeysStarted());
    QVERIFY(m_run->DiagramArmed());
    QVERIFY(!m_run->LoopIdle());
    QVERIFY(m_run->Intervals()->IsRunning());
    QVERIFY(!m_run->DriftTimer()->isActive());
    QCOMPARE(steps.size(), 0);
    Releases(2);
    QCOMPARE(m_run->DriftTimer()->isActive(), drifts);
    QCOMPARE(steps.size(), 2);
    QCOMPARE(steps.at(0).at(0).toBool(), true);
    m_run->OnDriftTick();
    QCOMPARE(steps.size(), 3);
    QCOMPARE(steps.at(2).at(0).toBool(), false);
    QCOMPARE(counted.size(), 3);
    QCOMPARE(counted.at(2).at(0).value<std::int16_t>(), std::int16_t(3));
    QCOMPARE(m_run->Counts()[0], std::int16_t(3));
    // The next interval counts from 1 again, into its own place.
    EndInterval();
    Releases(2);
    QCOMPARE(m_run->IntervalNo(), std::int16_t(1));
    QCOMPARE(m_run->KeyCount(), std::int16_t(2));
    QCOMPARE(m_run->Counts(), (IntervalCounts{3, 2, 0, 0, 0}));
}

void TestRunTest::escAborts_data()
{
    QTest::addColumn<int>("releases");
    QTest::addColumn<int>("intervalsEnded");
    QTest::newRow("armed") << 0 << 0;
    QTest::newRow("counting, first interval") << 5 << 0;
    QTest::newRow("counting, last interval") << 5 << 4;
}

void TestRunTest::escAborts()
{
    QFETCH(int, releases);
    QFETCH(int, intervalsEnded);
    QSignalSpy stopped(m_run.get(), &TestRun::Stopped);
    QSignalSpy completed(m_run.get(), &TestRun::Completed);
    QSignalSpy aborted(m_run.get(), &TestRun::Aborted);
    Start(QStringLiteral("Ann"));
    Releases(releases);
    for (int i = 0; i < intervalsEnded; ++i) {
        EndInterval();
        Releases(40);
    }
    // Only Esc going down aborts.
    m_run->KeyDown(KeyA);
    m_run->KeyUp(KeyCodes::Escape);
    QVERIFY(m_run->CurrentState() != State::Idle);
    m_run->KeyDown(KeyCodes::Escape);

    QCOMPARE(m_run->CurrentState(), State::Idle);
    QCOMPARE(stopped.size(), 1);
    QCOMPARE(aborted.size(), 1);
    QCOMPARE(m_run->Counts(), IntervalCounts{});
    QVERIFY(!m_run->KeysStarted());
    QVERIFY(m_run->LoopIdle());
    QVERIFY(!m_run->DriftTimer()->isActive());
    // Nothing of the run goes on: no end, no count, no record.
    EndInterval();
    Releases(3);
    m_run->KeyDown(KeyCodes::Escape);
    QCOMPARE(m_run->KeyCount(), std::int16_t(0));
    QCOMPARE(stopped.size(), 1);
    QCOMPARE(aborted.size(), 1);
    QCOMPARE(completed.size(), 0);
    QVERIFY(m_run->Presses().isEmpty());
    QVERIFY(History().isEmpty());
    QVERIFY(m_dialogs.MessageTexts().isEmpty());
}

void TestRunTest::abandonedRunLeavesNothing()
{
    QSignalSpy stopped(m_run.get(), &TestRun::Stopped);
    QSignalSpy aborted(m_run.get(), &TestRun::Aborted);
    Start(QStringLiteral("Ann"));
    Releases(10);
    EndInterval();
    Releases(10);
    m_run->Abandon();
    QCOMPARE(m_run->CurrentState(), State::Idle);
    QVERIFY(m_run->LoopIdle());
    QCOMPARE(m_run->Counts(), IntervalCounts{});
    QCOMPARE(stopped.size(), 0);
    QCOMPARE(aborted.size(), 1);
    QVERIFY(m_run->Presses().isEmpty());
    EndInterval();
    QVERIFY(History().isEmpty());
}

void TestRunTest::completedRunIsStored()
{
    QSignalSpy ends(m_run.get(), &TestRun::IntervalEnded);
    // The run is idle when it stops and only then is stored.
    QStringList order;
    connect(m_run.get(), &TestRun::Stopped, this,
            [&] { order << QStringLiteral("stopped, %1 bytes stored").arg(History().size()); });
    connect(m_run.get(), &TestRun::Completed, this, [&] {
        order << (m_run->CurrentState() == State::Idle ? "completed when idle" : "completed");
    });
    Start(QStringLiteral("Ann"));
    const int perInterval[] = {12, 40, 38, 36, 35};
    for (int i = 0; i < 5; ++i) {
        Releases(perInterval[i]);
        QCOMPARE(m_run->IntervalNo(), std::int16_t(i));
        QCOMPARE(m_run->Counts()[std::size_t(i)], std::int16_t(perInterval[i]));
        m_clock.AdvanceMs(5000);
        EndInterval();
    }
    QCOMPARE(order, (QStringList{"stopped, 0 bytes stored", "completed when idle"}));
    QCOMPARE(ends.size(), 5);
    QCOMPARE(m_run->CurrentState(), State::Idle);
    QCOMPARE(m_run->Counts(), (IntervalCounts{12, 40, 38, 36, 35}));

    const QByteArray history = History();
    QCOMPARE(history.size(), 80);
    const auto record = HistoryRecord::Decode(history.constData(), history.size());
    QVERIFY(record);
    QCOMPARE(record->RecName.trimmed(), QStringLiteral("Ann"));
    QCOMPARE(record->RecCounts, (std::array<std::int16_t, 4>{40, 38, 36, 35}));
    QCOMPARE(record->RecCMF, std::int16_t(12));
    // Stored with the time the run ended, not the time it was started.
    QCOMPARE(record->RecTime, OleDate::FromTime(QTime(14, 30, 25)));
    QVERIFY(m_dialogs.MessageTexts().isEmpty());
}

// A run timed by its own timer against the clock: an interval end held up
// by a busy program moves no later end off the five-second grid, and the
// date and time at Start and at the append come from one reading even when
// the clock passes midnight between two readings.
void TestRunTest::runAgainstTheClock_data()
{
    QTest::addColumn<QTime>("startAt");
    QTest::addColumn<int>("lateMs");      // how late the second interval's end is taken
    QTest::addColumn<QTime>("lastEndAt"); // the wall clock at the last end; null: as it runs
    QTest::addColumn<QDate>("startDate"); // stored at Start
    QTest::addColumn<QTime>("startTime");
    QTest::addColumn<QDate>("storedDate"); // stored at the append
    QTest::addColumn<QTime>("storedTime");

    const QDate day(2002, 12, 7);
    const QTime none;
    QTest::newRow("on time") << QTime(14, 30, 0, 200) << 0 << none << day << QTime(14, 30, 0) << day
                             << QTime(14, 30, 25);
    QTest::newRow("an end three seconds late") << QTime(14, 30, 0, 200) << 3000 << none << day
                                               << QTime(14, 30, 0) << day << QTime(14, 30, 25);
    QTest::newRow("Start in the last millisecond of the day")
        << QTime(23, 59, 59, 999) << 0 << none << day << QTime(23, 59, 59) << day.addDays(1)
        << QTime(0, 0, 25);
    QTest::newRow("run ends in the last millisecond of the day")
        << QTime(23, 59, 30, 200) << 0 << QTime(23, 59, 59, 999) << day << QTime(23, 59, 30) << day
        << QTime(23, 59, 59);
}

void TestRunTest::runAgainstTheClock()
{
    QFETCH(QTime, startAt);
    QFETCH(int, lateMs);
    QFETCH(QTime, lastEndAt);
    QSignalSpy ends(m_run.get(), &TestRun::IntervalEnded);
    auto *wakeUp = m_run->Intervals()->findChild<QTimer *>();
    QVERIFY(wakeUp);
    const auto takeEnd = [&] {
        wakeUp->start(0);
        QTest::qWait(20);
    };

    m_clock.Set(QDate(2002, 12, 7), startAt);
    // A real clock moves on between two readings; this one by 1 ms.
    m_clock.SetStepPerReadingMs(1);
    Start(QStringLiteral("Ann"));
    m_clock.SetStepPerReadingMs(0);
    QTEST(OleDate::ToDate(m_run->Record().RecDate).value_or(QDate()), "startDate");
    QTEST(OleDate::ToTime(m_run->Record().RecTime).value_or(QTime()), "startTime");

    // The first release comes early in a second, so the run's timing
    // starts from that whole second.
    const QTime now = m_clock.TimeOfDay();
    m_clock.Set(m_clock.Today(), QTime(now.hour(), now.minute(), now.second(), 200));
    Releases(10);
    RunTimer *intervals = m_run->Intervals();
    for (int interval = 0; interval < 5; ++interval) {
        const std::int64_t due = intervals->DeadlineNs();
        if (interval > 0)
            QCOMPARE(due, intervals->LastDueNs() + RunTimer::IntervalNs);
        const std::int64_t late = interval == 1 ? std::int64_t(lateMs) * 1000000 : 0;
        m_clock.AdvanceMs(int((due - m_clock.MonotonicNs() + late) / 1000000));
        if (interval == 4 && lastEndAt.isValid()) {
            m_clock.Set(m_clock.Today(), lastEndAt);
            m_clock.SetStepPerReadingMs(1);
        }
        takeEnd();
        m_clock.SetStepPerReadingMs(0);
        QCOMPARE(ends.size(), interval + 1);
        if (interval == 4)
            break;
        // The end was taken when it came, and the next one is not due yet.
        QCOMPARE(intervals->LastEndNs(), due + late);
        takeEnd();
        QCOMPARE(ends.size(), interval + 1);
        Releases(10);
    }
    QCOMPARE(m_run->CurrentState(), State::Idle);

    const QByteArray history = History();
    QCOMPARE(history.size(), 80);
    const auto record = HistoryRecord::Decode(history.constData(), history.size());
    QVERIFY(record);
    QTEST(OleDate::ToDate(record->RecDate).value_or(QDate()), "storedDate");
    QTEST(OleDate::ToTime(record->RecTime).value_or(QTime()), "storedTime");
    QCOMPARE(record->RecCounts, (std::array<std::int16_t, 4>{10, 10, 10, 10}));
}

void TestRunTest::intervalsWithoutReleaseStoreNothingOld_data()
{
    QTest::addColumn<bool>("earlierRun");
    QTest::newRow("first run") << false;
    QTest::newRow("after an earlier run") << true;
}

// A run in which the person stops after the warm-up interval has no result;
// the counts of an earlier run or of a record just viewed must not be
// stored under the new name.
void TestRunTest::intervalsWithoutReleaseStoreNothingOld()
{
    QFETCH(bool, earlierRun);
    if (earlierRun) {
        Start(QStringLiteral("First"));
        for (int i = 0; i < 5; ++i) {
            Releases(40);
            EndInterval();
        }
        QCOMPARE(History().size(), 80);
    }
    const QByteArray before = History();
    State stateAtMessage = State::Counting;
    m_dialogs.OnShow([this, &stateAtMessage](const ScriptedDialogs::Shown &shown) {
        if (std::holds_alternative<Dialogs::Message>(shown))
            stateAtMessage = m_run->CurrentState();
    });
    Start(QStringLiteral("Second"));
    Releases(30);
    for (int i = 0; i < 5; ++i)
        EndInterval();
    m_dialogs.OnShow(nullptr);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
    QCOMPARE(stateAtMessage, State::Idle);
    QCOMPARE(History(), before);
}

// Steps, their times in ms from the moment the first interval is due to
// end: "at T" moves the clock there; "up T" is a release made at T and
// handled now; "pending T" one made at T that waits until the next end
// takes in the input still pending; "end" handles the interval end that
// is due. The run's first release comes first, at 4.8 s before that end;
// the ends left are handled after the steps.
void TestRunTest::releasesCountWhereMade_data()
{
    QTest::addColumn<QString>("stamps");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("counts");
    // Each counted release's moment, in the order handled, in ms from the
    // first: when it was made where stamps are trusted, else when handled.
    QTest::addColumn<QList<int>>("ms");

    const QStringList beforeEnd{"at 300", "end", "up -20", "up 300"};
    QTest::newRow("made before an end handled after it")
        << "monotonic" << beforeEnd << QList<int>{2, 1, 0, 0, 0} << QList<int>{0, 4780, 5100};
    QTest::newRow("made before an end handled after it, stamps wrapping at 32 bits")
        << "wrapping" << beforeEnd << QList<int>{2, 1, 0, 0, 0} << QList<int>{0, 4780, 5100};
    QTest::newRow("made before an end handled after it, stamps on another clock")
        << "other clock" << beforeEnd << QList<int>{1, 2, 0, 0, 0} << QList<int>{0, 5100, 5100};
    QTest::newRow("made before an end handled after it, no stamps")
        << "none" << beforeEnd << QList<int>{1, 2, 0, 0, 0} << QList<int>{0, 5100, 5100};

    const QStringList afterEnd{"at 300", "up 20", "end"};
    QTest::newRow("made after an end handled before it")
        << "monotonic" << afterEnd << QList<int>{1, 1, 0, 0, 0} << QList<int>{0, 4820};
    QTest::newRow("made after an end handled before it, no stamps")
        << "none" << afterEnd << QList<int>{2, 0, 0, 0, 0} << QList<int>{0, 5100};

    // The input still on its way at an end is taken in before it closes.
    const QStringList pending{"at 300", "pending -20", "pending 20", "end"};
    QTest::newRow("pending at an end")
        << "monotonic" << pending << QList<int>{2, 1, 0, 0, 0} << QList<int>{0, 4780, 4820};
    QTest::newRow("pending at an end, no stamps")
        << "none" << pending << QList<int>{3, 0, 0, 0, 0} << QList<int>{0, 5100, 5100};

    const QStringList lastEnd{"at 20300", "end",      "end",           "end",          "end",
                              "up 19980", "up 20020", "pending 19990", "pending 20010"};
    QTest::newRow("made after the last end")
        << "monotonic" << lastEnd << QList<int>{1, 0, 0, 0, 2} << QList<int>{0, 24780, 24790};
    QTest::newRow("made after the last end, no stamps")
        << "none" << lastEnd << QList<int>{1, 0, 0, 0, 4}
        << QList<int>{0, 25100, 25100, 25100, 25100};

    const QStringList heldUp{"at 6000", "pending -10", "pending 4990", "pending 5500"};
    QTest::newRow("held up across two ends")
        << "monotonic" << heldUp << QList<int>{2, 1, 1, 0, 0} << QList<int>{0, 4790, 9790, 10300};
    QTest::newRow("held up across two ends, no stamps")
        << "none" << heldUp << QList<int>{4, 0, 0, 0, 0} << QList<int>{0, 10800, 10800, 10800};
}

void TestRunTest::releasesCountWhereMade()
{
    QFETCH(QString, stamps);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, counts);
    QFETCH(QList<int>, ms);
    RunTimer *intervals = m_run->Intervals();
    if (stamps == QLatin1String("wrapping")) {
        // Seven weeks of uptime: the 32-bit milliseconds start again just
        // after the first end.
        m_clock.SetMonotonicNs((std::int64_t(1) << 32) * NsPerMs - 4900 * NsPerMs);
    }
    QList<std::int64_t> pending;
    m_run->SetPendingInput([&] {
        for (const std::int64_t madeNs : std::exchange(pending, {}))
            m_run->KeyUp(KeyA, stampOf(stamps, madeNs));
    });

    Start(QStringLiteral("Ann"));
    m_run->KeyUp(KeyA, stampOf(stamps, m_clock.MonotonicNs()));
    QCOMPARE(m_run->PlacesByTimestamp(), stamps == "monotonic" || stamps == "wrapping");
    const std::int64_t firstEnd = intervals->FirstDueNs();
    QCOMPARE(firstEnd - m_clock.MonotonicNs(), 4800 * NsPerMs);
    for (const QString &step : steps) {
        const QStringList part = step.split(QLatin1Char(' '));
        const std::int64_t atNs = firstEnd + part.value(1).toLongLong() * NsPerMs;
        if (part[0] == QLatin1String("at"))
            m_clock.AdvanceMs(int((atNs - m_clock.MonotonicNs()) / NsPerMs));
        else if (part[0] == QLatin1String("up"))
            m_run->KeyUp(KeyA, stampOf(stamps, atNs));
        else if (part[0] == QLatin1String("pending"))
            pending.append(atNs);
        else
            intervals->EndIntervalNow();
    }
    for (int end = 0; end < TestRun::IntervalsPerRun && intervals->IsRunning(); ++end)
        intervals->EndIntervalNow();
    QCOMPARE(m_run->CurrentState(), State::Idle);
    QVERIFY(pending.isEmpty());
    QList<int> counted;
    for (const std::int16_t count : m_run->Counts())
        counted << count;
    QCOMPARE(counted, counts);
    QList<int> kept(TestRun::IntervalsPerRun, 0);
    QList<int> moments;
    for (const KeyPress &press : m_run->Presses()) {
        ++kept[press.interval];
        moments << int(press.ms);
        QCOMPARE(press.number, moments.size());
        QCOMPARE(press.key, KeyA);
    }
    QCOMPARE(kept, counts);
    QCOMPARE(moments, ms);
}

void TestRunTest::namePromptShowsWhatIsStored_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fits");
    // What the prompt shows beneath the field; empty: nothing.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Latin") << "Ann" << true << ""
                           << "Ann";
    QTest::newRow("Cyrillic") << "Иван Петров" << true << ""
                              << "Иван Петров";
    QTest::newRow("a letter the code page lacks") << "Jürgen Müller" << true << "Jurgen Muller"
                                                  << "Jurgen Muller";
    QTest::newRow("decomposed, stored composed") << "Йоко" << true << ""
                                                 << "Йоко";
    QTest::newRow("an emoji") << "Ann 😀" << true << "Ann ?"
                              << "Ann ?";
    QTest::newRow("a tab") << "Ann\tLee" << true << "Ann Lee"
                           << "Ann Lee";
    QTest::newRow("twenty letters") << "ABCDEFGHIJKLMNOPQRST" << true << ""
                                    << "ABCDEFGHIJKLMNOPQRST";
    QTest::newRow("twenty-five letters")
        << "ABCDEFGHIJKLMNOPQRSTUVWXY" << false << "ABCDEFGHIJKLMNOPQRST"
        << "ABCDEFGHIJKLMNOPQRST";
    QTest::newRow("too long, with letters the code page lacks")
        << "Jürgen Müller-Lüdenscheid" << false << "Jurgen Muller-Ludens"
        << "Jurgen Muller-Ludens";
}

// The prompt knows before the run what will be stored: it takes no more
// than fits and shows the stored form where it differs from what was typed.
void TestRunTest::namePromptShowsWhatIsStored()
{
    QFETCH(QString, typed);
    QFETCH(bool, fits);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    if (QTest::currentDataTag() == QLatin1String("decomposed, stored composed"))
        typed = typed.normalized(QString::NormalizationForm_D);
    Start(typed);
    QCOMPARE(m_dialogs.Log().size(), 1);
    const auto &input = std::get<Dialogs::Input>(m_dialogs.Log().first());
    QCOMPARE(input.prompt, QStringLiteral("Enter name of tested please!"));
    QVERIFY(input.fits && input.keptAs);
    QCOMPARE(input.fits(typed), fits);
    const QString kept = input.keptAs(typed);
    QCOMPARE(kept == typed ? QString() : kept, shown);
    QCOMPARE(m_run->Record().RecName, stored.leftJustified(HistoryRecord::NameLength));
}

QTEST_GUILESS_MAIN(TestRunTest)
#include "TestRunTest.moc"

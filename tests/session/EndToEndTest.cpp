// The program as a person meets it: the real binary on a private desktop,
// driven through its keyboard, one body of cases built twice. EndToEndTest
// runs it in an X server under a window manager as on a person's desktop,
// keys from xdotool; WaylandEndToEndTest (built with VELMORA_ON_WAYLAND) on
// Qt's Wayland platform in a headless sway, keys from wtype's virtual
// keyboards, where Qt itself makes the keyboard's repeat from the
// compositor's settings and nothing of the X server (its key state,
// detectable auto-repeat) is there to help; it skips only where the
// compositor cannot start at all.
// On both, one case types the name into the input box and holds keys down
// for seconds, so they repeat (on X while every core is kept busy), and
// holds the stored counts against the releases made; one stops the program
// across every interval end while releases are made just before it (and,
// on X, just after it), and holds the stored counts against them; one
// aborts a test with Esc and checks that the history is left alone and the
// window can start again.
// On X alone, one case runs a whole test at about eight key presses a
// second and holds the record the program appends against the presses this
// test timed into each interval: once going on pressing Space for three
// seconds after the end, which must press no button, and then, a second
// after the last, showing the result; once while the operator opens Data
// and then Results from the menu bar with the mouse in the middle of the
// run, which must take no press from the run and bring up no message. Two
// more go through the real menus and dialogs: two whole tests, then the
// data window and an export typed into Qt's own file dialog, whose bytes
// are held against the records on disk; and clearing the history, which
// must move the file byte for byte into "res" beside the program, or leave
// it where it is when it cannot. One more presses a whole test in an uneven
// rhythm and exports its key presses the same way: the rows of each interval
// number its stored count and their gaps are those between the keys sent.
// The timed cases run once more when the machine was too busy to send their
// keys on time, never when a count was wrong. This is the only test that
// sees the real clock, the real timers, the real keyboard repeat and the
// real key path from the desktop to the diagram and the menus. The
// desktops, the program's copy, the keys and the timed runs come from
// tests/support.
#include "HeldKeyRun.h"
#include "HistoryFiles.h"
#include "LateRetry.h"
#include "Processes.h"
#include "ProgramCopy.h"
#include "ProgramOnWayland.h"
#include "ProgramOnX.h"
#include "StoppedEndsRun.h"
#include "StoredRecord.h"
#include "WaylandDesktop.h"
#include "XDesktop.h"
#include "record/Evaluation.h"
#include "record/HistoryRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using Processes::NowMs;
using Processes::SleepUntilMs;

namespace {

constexpr qint64 IntervalMs = HeldKeyRun::IntervalMs;
constexpr int CountedIntervals = HeldKeyRun::CountedIntervals;
// Presses go out on a 100 ms grid that leaves out the whole seconds, where
// the interval ends lie. Intervals 1 and 3 also leave out the grid points
// next to their ends, so an end misplaced by a quarter of a second or more
// (or by whole seconds) moves at least two presses between neighbouring
// counts; with the same presses on both sides of every end, a shifted end
// would take away as many as it adds.
constexpr qint64 GridMs = 100;
constexpr qint64 QuietEdgeMs = 250;
// Where in its second the first press goes out.
constexpr qint64 FirstPressMs = 280;
// A press that cannot go out this soon after its grid point is left out
// rather than sent closer to an interval end.
constexpr qint64 LatestMs = 40;
// How long after xdotool returns the program may still be reading a press.
constexpr qint64 ReadingMs = 50;
// Fewer presses than this in an interval say the machine was too busy to
// test the counting at this rate.
constexpr int FewestPresses = 20;
const char *const PressKeys[] = {"a", "s", "d", "f", "j", "k", "l", "1", "2", "3"};

// A whole run from its first release to its last end.
constexpr qint64 RunMs = IntervalMs * (CountedIntervals + 1);
// For how long after the run's end Space goes on being pressed, and how
// long after the last key a press of it is a press of the button again.
constexpr qint64 StrayKeysMs = 3000;
constexpr qint64 KeysQuietMs = 1000;

// Runs for the data window go at a modest rate, one press after another,
// until the record is on disk: their counts are not what is checked there.
constexpr qint64 ModestPressMs = 120;
constexpr int RunTimeoutMs = 45000;

// The whole second a run's timing starts from, as the program rounds it.
qint64 roundedSecondMs(qint64 ms)
{
    return qint64(Evaluation::RoundHalfEven(double(ms) / 1000.0)) * 1000;
}

bool onGrid(qint64 afterStartMs)
{
    if (afterStartMs % 1000 == 0)
        return false;
    const qint64 interval = afterStartMs / IntervalMs;
    const qint64 within = afterStartMs % IntervalMs;
    if (interval == 1 || interval == 3)
        return within > QuietEdgeMs && within < IntervalMs - QuietEdgeMs;
    return true;
}

// A busy loop on every core for as long as it lives, as other programs on
// a person's machine would make.
class BusyCores
{
public:
    BusyCores()
    {
        for (int i = 0; i < std::max(2, QThread::idealThreadCount()); ++i) {
            auto &loop = m_loops.emplace_back(std::make_unique<QProcess>());
            Processes::DieWithParent(*loop);
            loop->start(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
    }
    ~BusyCores()
    {
        for (auto &loop : m_loops)
            Processes::Stop(*loop);
    }
    BusyCores(const BusyCores &) = delete;
    BusyCores &operator=(const BusyCores &) = delete;

private:
    std::vector<std::unique_ptr<QProcess>> m_loops;
};

struct Press
{
    qint64 beforeMs = 0;
    qint64 afterMs = 0;
};

// Presses sent on a grid, and the grid points (ms after the run's start)
// left out because the machine was too busy to send them on time.
struct SentPresses
{
    QList<Press> presses;
    QList<qint64> leftOutMs;
};

// A click of the operator's mouse, right after the first press at or past
// atMs after the run's start.
struct Click
{
    qint64 atMs = 0;
    QPoint where;
};

// A test stored before the case's own, whole.
QByteArray earlierRecord()
{
    return HistoryFiles::record(QStringLiteral("Earlier run"), HistoryFiles::Dec7, 0.5, 12,
                                {40, 39, 38, 37})
        .Encode();
}

// The export's line for a record as a reader of the table expects it, in
// the C locale the program runs in here: fixed columns between " * ".
QByteArray exportLine(const StoredRecord &record)
{
    const QByteArray name = record.name.trimmed().leftJustified(StoredRecord::NameLength, ' ');
    const QByteArray date = record.when.date().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    const QByteArray time =
        record.when.time().toString(QStringLiteral("HH:mm:ss")).toLatin1().leftJustified(12, ' ');
    const QByteArray cmf = QByteArray::number(record.cmf).leftJustified(3, ' ');
    const QString results = Evaluation::Present(Evaluation::ResultsVerdict(record.cmf),
                                                Evaluation::Display::HistoryLine)
                                .text;
    const QString reliability =
        Evaluation::Present(
            Evaluation::ReliabilityVerdict(record.counts[0], record.counts[3], record.cmf),
            Evaluation::Display::HistoryLine)
            .text;
    return name + " * " + date + " * " + time + " *  " + cmf + " * " + results.toLatin1() + " * " +
           reliability.toLatin1();
}

} // namespace

// The cases every desktop runs, each on a fresh copy of the program; the
// test of a desktop starts it and puts the program on it.
class EndToEndCases : public QObject
{
    Q_OBJECT

protected:
    // keysCarryTimes: the desktop's keys carry the moment they were made,
    // so a release made just after an end while the program is stopped can
    // be told from one made before it. holdUnderLoad: keys are held while
    // every core is kept busy.
    EndToEndCases(bool keysCarryTimes, bool holdUnderLoad)
        : m_keysCarryTimes(keysCarryTimes), m_holdUnderLoad(holdUnderLoad)
    {}

    virtual std::unique_ptr<ProgramOnDesktop> On(ProgramCopy &program) = 0;
    // What the desktop itself said, shown when a case fails.
    virtual QString DesktopLog() const { return {}; }

    QString HistoryPath() const { return m_program->HistoryPath(); }
    QByteArray History() const { return m_program->History(); }
    // A fresh copy of the program in a folder of its own, not started.
    void Fresh();
    void StartProgram();
    void BeginTest(const QString &name, bool afterRun = false);

    std::unique_ptr<ProgramCopy> m_program;

private slots:
    void init() { Fresh(); }
    void cleanup();
    void heldKeysCountOnce();
    void stoppedAcrossEndsCountsWhereMade();
    void escAbortsWithoutRecord();

private:
    void HeldKeysAttempt(QString *late);
    void StoppedEndsAttempt(QString *late);

    std::unique_ptr<ProgramOnDesktop> m_on;
    const bool m_keysCarryTimes;
    const bool m_holdUnderLoad;
};

void EndToEndCases::cleanup()
{
    m_program->Stop();
    if (QTest::currentTestFailed()) {
        qInfo("Program output:\n%s", qPrintable(m_program->Output()));
        if (const QString log = DesktopLog(); !log.isEmpty())
            qInfo("%s", qPrintable(log));
    }
    m_on.reset();
    m_program.reset();
}

void EndToEndCases::Fresh()
{
    m_on.reset();
    m_program = std::make_unique<ProgramCopy>(QStringLiteral(VELMORA_PROGRAM));
    QVERIFY2(m_program->Error().isEmpty(), qPrintable(m_program->Error()));
    m_on = On(*m_program);
}

void EndToEndCases::StartProgram()
{
    const QString error = m_on->Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void EndToEndCases::BeginTest(const QString &name, bool afterRun)
{
    const QString error = m_on->BeginTest(name, afterRun);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// Held for seconds, a key is repeated many times over, by the X server or
// on Wayland by Qt, each repeat a release and a press flagged as such; with
// every core busy the program reads those repeats late. None may count: the
// counts stored are the releases made, exactly, under the name typed.
void EndToEndCases::heldKeysCountOnce()
{
    RetryOnceWhenLate([this](QString *late) { HeldKeysAttempt(late); }, [this] { Fresh(); });
}

void EndToEndCases::HeldKeysAttempt(QString *late)
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    const QByteArray name = "Held Keys";
    BeginTest(QString::fromLatin1(name));
    if (QTest::currentTestFailed())
        return;

    std::optional<BusyCores> busy;
    if (m_holdUnderLoad)
        busy.emplace();
    HeldKeyRun run;
    const QString failed = run.Play(m_on->Keys());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    if (!run.Played()) {
        *late = run.Late();
        return;
    }

    QVERIFY2(m_program->WaitForRecords(1), "no record was stored");
    const QByteArray history = History();
    QCOMPARE(history.size(), StoredRecord::Length);
    const StoredRecord record = StoredRecord::Decode(history);
    qInfo("%s", qPrintable(run.Describe(record.counts)));
    const QString wrong = run.WrongCounts(record.counts);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QCOMPARE(record.name, name.leftJustified(StoredRecord::NameLength, ' '));
    QCOMPARE(record.filler, QByteArray(StoredRecord::Length - StoredRecord::FillerOffset, 0));
    QVERIFY(m_program->IsRunning());
    *late = run.Late();
    if (!late->isEmpty())
        return;
    const auto released = run.Released();
    for (std::size_t i = 0; i < released.size(); ++i)
        QVERIFY2(record.counts[i] == released[i], qPrintable(run.Describe(record.counts)));
}

// A machine busy enough, or a process paused, holds the program up across
// every interval end while the person goes on: releases made just before
// an end, and where the keys carry their moment just after it, reach the
// program only after the end has passed. Each must still count in the
// interval in which it was made, and the one after the last end not at all.
void EndToEndCases::stoppedAcrossEndsCountsWhereMade()
{
    RetryOnceWhenLate([this](QString *late) { StoppedEndsAttempt(late); }, [this] { Fresh(); });
}

void EndToEndCases::StoppedEndsAttempt(QString *late)
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Held Up"));
    if (QTest::currentTestFailed())
        return;

    StoppedEndsRun run(m_keysCarryTimes);
    const QString failed = run.Play(m_on->Keys(), m_program->ProcessId());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    *late = run.Late();
    if (!run.Played() || !late->isEmpty())
        return;

    QVERIFY2(m_program->WaitForRecords(1), "no record was stored");
    const QByteArray history = History();
    QCOMPARE(history.size(), StoredRecord::Length);
    const StoredRecord record = StoredRecord::Decode(history);
    qInfo("%s", qPrintable(run.Describe(record.counts)));
    QVERIFY2(run.Exact(record.counts), qPrintable(run.Describe(record.counts)));
    QVERIFY(m_program->IsRunning());
}

void EndToEndCases::escAbortsWithoutRecord()
{
    const QByteArray before = earlierRecord();
    QVERIFY(HistoryFiles::put(HistoryPath(), before));
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Esc Tester"));
    if (QTest::currentTestFailed())
        return;
    // Taps for about seven seconds, into the first counted interval, so the
    // run has counts to lose.
    HeldKeyRun::Keys &keys = m_on->Keys();
    const qint64 firstMs = NowMs() + keys.LeadMs();
    for (int tap = 0; tap < 35; ++tap)
        QVERIFY(keys.Tap(firstMs + 200 * tap, QString(QLatin1Char("asdfjkl"[tap % 7]))));
    QVERIFY(keys.Tap(firstMs + 200 * 35, QStringLiteral("Escape")));

    // Back at idle "Start" takes a new name.
    const QString error = m_on->PressStart(true);
    QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("after Esc: ") + error));
    QVERIFY(keys.Tap(NowMs() + keys.LeadMs(), QStringLiteral("Escape")));
    QVERIFY(m_on->WaitForWindowGone(QStringLiteral("Input")));

    // Past the moment the aborted run would have ended and been stored,
    // whichever second the program started it in.
    SleepUntilMs(firstMs + RunMs + 4000);
    QVERIFY(m_program->IsRunning());
    QCOMPARE(History(), before);
}

class EndToEndTest : public EndToEndCases
{
    Q_OBJECT

public:
    // X stamps each key with the server's time, and the server makes the
    // repeats of a held key, which the program reads late while every core
    // is busy.
    EndToEndTest() : EndToEndCases(true, true) {}

private slots:
    void initTestCase();
    void fullRunStoresTheTimedCounts_data();
    void fullRunStoresTheTimedCounts();
    void dataWindowExportsTwoRuns();
    void keyPressesExportedAsSent();
    void clearMovesHistoryIntoRes_data();
    void clearMovesHistoryIntoRes();

private:
    std::unique_ptr<ProgramOnDesktop> On(ProgramCopy &program) override;
    bool Xdotool(const QStringList &arguments) const { return m_desktop->Xdotool(arguments); }
    QSize FrameSize() const { return m_desktop->WindowGeometry(m_onX->MainWindow()).size(); }
    // Presses keys at a modest rate until the history holds this many
    // records.
    void RunUntilStored(int records);
    // Sends presses from early in a second until untilAfterStartMs after
    // that second, each with the wall-clock times around its sending, and
    // the clicks between them.
    SentPresses SendPresses(qint64 untilAfterStartMs, QList<Click> clicks = {});
    // Where View and its items Results and Data are on the screen.
    void FindViewMenu(QPoint *view, QPoint *results, QPoint *data);
    void FullRunAttempt(QString *late);
    // Types target into Qt's file dialog, once it shows, and answers the
    // message that follows.
    void SaveThroughDialog(const QString &target);

    std::unique_ptr<XDesktop> m_desktop;
    ProgramOnX *m_onX = nullptr;
};

void EndToEndTest::initTestCase()
{
    QVERIFY2(QFileInfo::exists(QStringLiteral(VELMORA_PROGRAM)), VELMORA_PROGRAM);
    m_desktop = std::make_unique<XDesktop>();
    const QString error = m_desktop->Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    qInfo("X server on display %s with openbox", qPrintable(m_desktop->Display()));
}

std::unique_ptr<ProgramOnDesktop> EndToEndTest::On(ProgramCopy &program)
{
    auto onX = std::make_unique<ProgramOnX>(*m_desktop, program);
    m_onX = onX.get();
    return onX;
}

SentPresses EndToEndTest::SendPresses(qint64 untilAfterStartMs, QList<Click> clicks)
{
    SentPresses sent;
    const auto send = [&](qint64 offset = 0) {
        Press press;
        press.beforeMs = NowMs();
        // Past the run's end the person presses Space, which would press
        // the button that has the focus then.
        const QLatin1String key(
            offset >= RunMs ? "space" : PressKeys[sent.presses.size() % std::size(PressKeys)]);
        if (!Xdotool({QStringLiteral("key"), key}))
            return false;
        press.afterMs = NowMs();
        sent.presses.append(press);
        return true;
    };
    // The first press goes out well before the middle of a second, so the
    // program and this test both round the start down to that second, yet
    // late enough that timing from the press itself would misplace every
    // end by more than the grid's quiet edges allow.
    const qint64 now = NowMs();
    SleepUntilMs(now - now % 1000 + (now % 1000 <= FirstPressMs - 20 ? 0 : 1000) + FirstPressMs);
    if (!send())
        return {};
    const qint64 startMs = roundedSecondMs(sent.presses.first().afterMs);
    for (qint64 offset = (sent.presses.first().afterMs - startMs) / GridMs * GridMs + GridMs;
         offset < untilAfterStartMs; offset += GridMs) {
        if (!onGrid(offset))
            continue;
        if (NowMs() > startMs + offset + LatestMs) {
            sent.leftOutMs.append(offset);
            continue;
        }
        SleepUntilMs(startMs + offset);
        if (!send(offset))
            return {};
        while (!clicks.isEmpty() && clicks.first().atMs <= offset) {
            const QPoint where = clicks.takeFirst().where;
            if (!Xdotool({QStringLiteral("mousemove"), QString::number(where.x()),
                          QString::number(where.y()), QStringLiteral("click"),
                          QStringLiteral("1")}))
                return {};
        }
    }
    if (!sent.leftOutMs.isEmpty())
        qInfo("%d presses left out because the machine was busy", int(sent.leftOutMs.size()));
    return sent;
}

void EndToEndTest::RunUntilStored(int records)
{
    QElapsedTimer waited;
    waited.start();
    int sent = 0;
    while (QFileInfo(HistoryPath()).size() < records * StoredRecord::Length &&
           waited.elapsed() < RunTimeoutMs) {
        const qint64 next = NowMs() + ModestPressMs;
        QVERIFY(Xdotool({QStringLiteral("key"), QLatin1String(PressKeys[sent % 10])}));
        ++sent;
        SleepUntilMs(next);
    }
    QCOMPARE(QFileInfo(HistoryPath()).size(), qint64(records) * StoredRecord::Length);
}

// Learnt from the View menu opened with its keys before the run, as keys
// in a run are the tested person's: its popup is a window of the program's
// own, with no title, whose top-left corner lies just below the View title,
// and it holds four items of equal height, Test, Results, Data and Trend.
void EndToEndTest::FindViewMenu(QPoint *view, QPoint *results, QPoint *data)
{
    QVERIFY(m_onX->Menu({QStringLiteral("alt+v")}));
    QString popup;
    QElapsedTimer waited;
    waited.start();
    while (popup.isEmpty() && waited.elapsed() < 5000) {
        QThread::msleep(50);
        QByteArray found;
        m_desktop->Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                            QStringLiteral("--pid"), QString::number(m_program->ProcessId())},
                           10000, &found);
        for (const QString &window : QString::fromLatin1(found).split(QLatin1Char('\n')))
            if (!window.trimmed().isEmpty() && window.trimmed() != m_onX->MainWindow())
                popup = window.trimmed();
    }
    QVERIFY2(!popup.isEmpty(), "Alt+V opened no menu");
    const QRect menu = m_desktop->WindowGeometry(popup);
    QVERIFY(menu.isValid());
    // The first Esc closes the popup, the second leaves the menu bar, which
    // would otherwise take the Space meant for "Start".
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150"),
                     QStringLiteral("Escape"), QStringLiteral("Escape")}));
    const int item = menu.height() / 4;
    *view = {menu.left() + 8, menu.top() - 8};
    *results = {menu.center().x(), menu.top() + item * 3 / 2};
    *data = {menu.center().x(), menu.top() + item * 5 / 2};
}

void EndToEndTest::fullRunStoresTheTimedCounts_data()
{
    QTest::addColumn<bool>("byMouse");
    // Presses go on for three seconds past the run's end, Space then, as
    // from a person who has not seen the end: those must not count, and
    // must not press "Next >>", the results window's "Cancel" or "Start"
    // after it.
    QTest::newRow("Space after the end") << false;
    // In the middle of the first counted interval the operator opens Data,
    // in the second Results, each with two clicks 300 ms apart while the
    // presses go on, into the open menu too. An earlier test is the whole
    // result Results shows, so no "There are no data!" takes the keys.
    QTest::newRow("Data and Results opened with the mouse") << true;
}

void EndToEndTest::fullRunStoresTheTimedCounts()
{
    RetryOnceWhenLate([this](QString *late) { FullRunAttempt(late); }, [this] { Fresh(); });
}

void EndToEndTest::FullRunAttempt(QString *late)
{
    QFETCH(bool, byMouse);
    const QByteArray earlier = byMouse ? earlierRecord() : QByteArray();
    if (byMouse)
        QVERIFY(HistoryFiles::put(HistoryPath(), earlier));
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    QList<Click> clicks;
    if (byMouse) {
        QPoint view, results, data;
        FindViewMenu(&view, &results, &data);
        if (QTest::currentTestFailed())
            return;
        clicks = {{7500, view}, {7800, data}, {12500, view}, {12800, results}};
    }
    const QByteArray name = "Ada Tester";
    BeginTest(QString::fromLatin1(name));
    if (QTest::currentTestFailed())
        return;
    const QSize frameSize = FrameSize();
    QVERIFY(frameSize.isValid());

    const SentPresses sent = SendPresses(byMouse ? RunMs : RunMs + StrayKeysMs, clicks);
    const QList<Press> &presses = sent.presses;
    QVERIFY(!presses.isEmpty());
    const qint64 startMs = roundedSecondMs(presses.first().afterMs);
    const qint64 firstInSecondMs = presses.first().afterMs - startMs;
    if (firstInSecondMs < 0 || firstInSecondMs >= 400) {
        *late = QStringLiteral("the first press went out %1 ms into its second")
                    .arg(presses.first().afterMs % 1000);
        return;
    }
    const qint64 endMs = startMs + RunMs;
    // A press left out after the end leaves a pause among the Spaces, which
    // could be long enough to let the next one press a button, rightly.
    if (!byMouse && std::any_of(sent.leftOutMs.cbegin(), sent.leftOutMs.cend(),
                                [](qint64 offset) { return offset >= RunMs; })) {
        *late = QStringLiteral("the Spaces after the end were not sent on time");
        return;
    }

    m_program->WaitForRecords(earlier.size() / StoredRecord::Length + 1);
    const QByteArray history = History();
    QCOMPARE(history.size(), earlier.size() + StoredRecord::Length);
    QCOMPARE(history.left(earlier.size()), earlier);
    QVERIFY(m_program->IsRunning());
    if (byMouse) {
        // Data and Results each grew the frame by a tenth as they opened.
        QVERIFY2(FrameSize().height() > frameSize.height() * 1.15,
                 "the clicks did not open both Data and Results");
        QVERIFY2(m_onX->WaitForMessageBox(1500).isEmpty(), "a message came up in the run");
    } else {
        // "Next >>" grows the main window before it shows the result; it
        // has not been pressed, nor has "Start".
        QCOMPARE(FrameSize(), frameSize);
        QVERIFY2(m_desktop->VisibleWindows(QStringLiteral("Input")).isEmpty(),
                 "Space after the end started another test");
        // Once a second has passed without a key, Space presses "Next >>",
        // which still has the focus, and the result is there to be shown:
        // no "There are no data!", as after "Cancel" in the results window.
        SleepUntilMs(presses.last().afterMs + KeysQuietMs + 300);
        QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("space")}));
        QElapsedTimer waited;
        waited.start();
        while (FrameSize() == frameSize && waited.elapsed() < 5000)
            QThread::msleep(50);
        QVERIFY2(FrameSize() != frameSize,
                 "Space did not press \"Next >>\" once the moment had passed");
        QVERIFY2(m_onX->WaitForMessageBox(1500).isEmpty(),
                 "the results window had no result to show");
        QCOMPARE(History(), history);
    }

    std::array<int, CountedIntervals> expected{};
    int doubtful = 0;
    QStringList log;
    for (const Press &press : presses) {
        const qint64 interval = (press.afterMs - startMs) / IntervalMs;
        if (interval >= 1 && interval <= CountedIntervals)
            ++expected[std::size_t(interval - 1)];
        // A press whose sending, or the program's reading of it soon after,
        // spans an interval end could fall either way.
        if ((press.beforeMs - startMs) / IntervalMs !=
            (press.afterMs + ReadingMs - startMs) / IntervalMs)
            ++doubtful;
        log << QStringLiteral("%1..%2").arg(press.beforeMs - startMs).arg(press.afterMs - startMs);
    }
    const StoredRecord record = StoredRecord::Decode(history.mid(earlier.size()));
    const QString counts =
        QStringLiteral("stored %1 %2 %3 %4, sent %5 %6 %7 %8 (%9 presses near an interval end)")
            .arg(record.counts[0])
            .arg(record.counts[1])
            .arg(record.counts[2])
            .arg(record.counts[3])
            .arg(expected[0])
            .arg(expected[1])
            .arg(expected[2])
            .arg(expected[3])
            .arg(doubtful);
    qInfo("%s", qPrintable(counts));
    bool match = true;
    for (std::size_t i = 0; i < expected.size(); ++i)
        match = match && std::abs(record.counts[i] - expected[i]) <= 1;
    if (!match)
        qInfo("presses sent, ms after the start: %s", qPrintable(log.join(QLatin1Char(' '))));
    QVERIFY2(match, qPrintable(counts));

    QCOMPARE(record.name, name.leftJustified(StoredRecord::NameLength, ' '));
    QCOMPARE(record.filler, QByteArray(StoredRecord::Length - StoredRecord::FillerOffset, 0));
    const auto cmf = Evaluation::CalcCMF(record.counts[0], record.counts[3]);
    QVERIFY(cmf.has_value());
    QCOMPARE(record.cmf, *cmf);
    const qint64 storedOffMs = record.when.toMSecsSinceEpoch() - endMs;
    QVERIFY2(std::abs(storedOffMs) <= 3000,
             qPrintable(QStringLiteral("stored time %1 is %2 ms from the run's end")
                            .arg(record.when.toString(Qt::ISODate))
                            .arg(storedOffMs)));

    // Counts that match are only worth as much as the presses behind them.
    QStringList thin;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] < FewestPresses)
            thin << QStringLiteral("%1 presses in interval %2").arg(expected[i]).arg(i + 1);
    }
    if (!thin.isEmpty()) {
        QStringList leftOut;
        for (const qint64 offset : sent.leftOutMs)
            leftOut << QString::number(offset);
        *late = QStringLiteral("too few presses went out (%1); left out, ms after the start: %2")
                    .arg(thin.join(QStringLiteral(", ")), leftOut.join(QLatin1Char(' ')));
    }
}

// Two whole tests, then View > Data and File > Export text file through the
// menus, a file name typed into the file dialog: the table on disk must
// list exactly the records the history file holds, in their order.
void EndToEndTest::SaveThroughDialog(const QString &target)
{
    const QString dialog = m_desktop->WaitForWindow(QStringLiteral("Save As"));
    QVERIFY2(!dialog.isEmpty(), "no file dialog: the data window did not open or the item is off");
    QVERIFY(m_desktop->Focus(dialog));
    // The name field has the focus with the name offered selected.
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
    QVERIFY(
        Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), target}));
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QVERIFY2(m_desktop->WaitForWindowGone(QStringLiteral("Save As")),
             "the file dialog stayed open");
    // "File saved!"
    QVERIFY2(m_onX->Answer(m_onX->WaitForMessageBox()), "no message after the export");
}

void EndToEndTest::dataWindowExportsTwoRuns()
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    const QStringList names = {QStringLiteral("First Runner"), QStringLiteral("Second Runner")};
    for (int run = 0; run < names.size(); ++run) {
        BeginTest(names[run], run > 0);
        if (QTest::currentTestFailed())
            return;
        RunUntilStored(run + 1);
        if (QTest::currentTestFailed())
            return;
    }
    const QByteArray history = History();
    const QList<StoredRecord> records = StoredRecord::DecodeAll(history);
    QCOMPARE(records.size(), names.size());
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(records[i].name,
                 names[i].toLatin1().leftJustified(HistoryRecord::NameLength, ' '));

    QVERIFY(m_onX->Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));
    // "Export text file" shares its E with "Exit": the first E marks it and
    // Return takes it. It is only enabled while the data window is open.
    QVERIFY(m_onX->Menu({QStringLiteral("alt+f"), QStringLiteral("e"), QStringLiteral("Return")}));
    const QString folder = QDir(m_program->Folder()).filePath(QStringLiteral("Tables of the day"));
    QVERIFY(QDir().mkdir(folder));
    const QString target = folder + QStringLiteral("/Day 1.txt");
    SaveThroughDialog(target);
    if (QTest::currentTestFailed())
        return;

    QFile exported(target);
    QVERIFY2(exported.open(QIODevice::ReadOnly), qPrintable(target));
    const QByteArray header =
        "   Recording             Date        Time      CMF     Results  Validation";
    QCOMPARE(header.size(), 74);
    QByteArray expected = header + "\r\n";
    for (const StoredRecord &record : records)
        expected += exportLine(record) + "\r\n";
    expected += "\r\n";
    QCOMPARE(exported.readAll(), expected);
    QCOMPARE(History(), history);
    QVERIFY(m_program->IsRunning());
}

// A whole test pressed in an uneven rhythm, then exported through File >
// Export key presses and Qt's file dialog: one row per counted press, the
// rows of intervals 1 to 4 as many as the counts stored, and the gaps
// between the rows those between the releases xdotool made, each of which
// lies within the call that made it.
void EndToEndTest::keyPressesExportedAsSent()
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Rhythm"));
    if (QTest::currentTestFailed())
        return;
    const qint64 gapsMs[] = {70, 190, 110, 260, 140, 90};
    QList<Press> sent;
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(HistoryPath()).size() < StoredRecord::Length &&
           waited.elapsed() < RunTimeoutMs) {
        const qint64 next = NowMs() + gapsMs[std::size_t(sent.size()) % std::size(gapsMs)];
        Press press;
        press.beforeMs = NowMs();
        QVERIFY(Xdotool({QStringLiteral("key"), QLatin1String(PressKeys[sent.size() % 10])}));
        press.afterMs = NowMs();
        sent.append(press);
        SleepUntilMs(next);
    }
    const QList<StoredRecord> records = StoredRecord::DecodeAll(History());
    QCOMPARE(records.size(), 1);
    SleepUntilMs(NowMs() + KeysQuietMs);

    QVERIFY(m_onX->Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));
    QVERIFY(m_onX->Menu({QStringLiteral("alt+f"), QStringLiteral("k")}));
    const QString target = QDir(m_program->Folder()).filePath(QStringLiteral("rhythm.csv"));
    SaveThroughDialog(target);
    if (QTest::currentTestFailed())
        return;

    QFile exported(target);
    QVERIFY2(exported.open(QIODevice::ReadOnly), qPrintable(target));
    QList<QByteArray> lines = exported.readAll().split('\n');
    QCOMPARE(lines.takeFirst(), QByteArray("\xEF\xBB\xBFname,date,time,interval,press,ms,key\r"));
    QCOMPARE(lines.takeLast(), QByteArray());
    const QByteArray test =
        "Rhythm," + records[0].when.toString(QStringLiteral("yyyy-MM-dd,HH:mm:ss")).toLatin1();
    std::array<int, CountedIntervals + 1> rows{};
    QList<qint64> moments;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.chopped(1).split(',');
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[0] + ',' + fields[1] + ',' + fields[2], test);
        QCOMPARE(fields[4].toInt(), int(moments.size()) + 1);
        const int interval = fields[3].toInt();
        QVERIFY(interval >= 0 && interval <= CountedIntervals);
        rows.at(std::size_t(interval)) += 1;
        moments.append(fields[5].toLongLong());
    }
    for (std::size_t i = 0; i < std::size_t(CountedIntervals); ++i)
        QCOMPARE(rows.at(i + 1), int(records[0].counts.at(i)));
    QVERIFY(moments.size() <= sent.size());
    QCOMPARE(moments.value(0, -1), 0);
    // Each gap between rows lies between the least and the most the two
    // xdotool calls allow, give or take the millisecond either clock rounds.
    qint64 worstMs = 0;
    for (qsizetype i = 1; i < moments.size(); ++i) {
        const qint64 gap = moments[i] - moments[i - 1];
        const qint64 least = std::max(sent[i].beforeMs - sent[i - 1].afterMs - 2, qint64(0));
        const qint64 most = sent[i].afterMs - sent[i - 1].beforeMs + 2;
        QVERIFY2(gap >= least && gap <= most,
                 qPrintable(QStringLiteral("press %1: %2 ms").arg(i + 1).arg(gap)));
        worstMs = std::max(worstMs, std::abs(gap - (sent[i].afterMs - sent[i - 1].afterMs)));
    }
    qInfo("%d rows; gaps within %lld ms of those between the xdotool calls' returns",
          int(moments.size()), worstMs);
}

void EndToEndTest::clearMovesHistoryIntoRes_data()
{
    QTest::addColumn<bool>("withBackupFolder");
    QTest::newRow("res beside the program") << true;
    // Nowhere to move it: the history stays where it is, whole.
    QTest::newRow("no res folder") << false;
}

// File > Clear default file data, Yes in the question: the history file
// leaves the program's folder only by moving, whole, into "res".
void EndToEndTest::clearMovesHistoryIntoRes()
{
    QFETCH(bool, withBackupFolder);
    QByteArray before;
    for (int i = 0; i < 3; ++i)
        before += HistoryFiles::record(QStringLiteral("Stored %1").arg(i + 1), 45000 + i, 0.25 * i,
                                       std::int16_t(5 * i),
                                       {std::int16_t(40 + i), 39, 38, std::int16_t(40 - 2 * i)})
                      .Encode();
    QVERIFY(HistoryFiles::put(HistoryPath(), before));
    const QString backupPath = m_program->BackupPath();
    if (!withBackupFolder)
        QVERIFY(QDir(backupPath).removeRecursively());

    StartProgram();
    if (QTest::currentTestFailed())
        return;
    // Clearing is offered while the data window is open.
    QVERIFY(m_onX->Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));
    QVERIFY(m_onX->Menu({QStringLiteral("alt+f"), QStringLiteral("c")}));
    const QString question = m_desktop->WaitForWindow(QStringLiteral("Data delete"));
    QVERIFY2(!question.isEmpty(), "Clear did not ask");
    // Yes is the default button.
    QVERIFY(m_onX->Answer(question));
    // "Default file data clear!", or the error when there is no "res".
    QVERIFY2(m_onX->Answer(m_onX->WaitForMessageBox()), "no message after clearing");

    if (!withBackupFolder) {
        QCOMPARE(History(), before);
        QVERIFY(!QFileInfo::exists(backupPath));
        return;
    }
    QVERIFY(!QFileInfo::exists(HistoryPath()));
    const QStringList backups = QDir(backupPath).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(backups.size(), 1);
    const QString backup = backups.first();
    QVERIFY2(backup.startsWith(QStringLiteral("restest. ")), qPrintable(backup));
    bool isNumber = false;
    const int number = backup.mid(9).toInt(&isNumber);
    QVERIFY2(isNumber && number >= 1 && number <= 999 &&
                 backup == QStringLiteral("restest. ") + QString::number(number),
             qPrintable(backup));
    QFile moved(QDir(backupPath).filePath(backup));
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QCOMPARE(moved.readAll(), before);
    QVERIFY(m_program->IsRunning());
}

class WaylandEndToEndTest : public EndToEndCases
{
    Q_OBJECT

public:
    // wtype's keys carry no time stamp, so the program counts a release
    // where it handles it, and only its taking in of the input still
    // pending at an end keeps the releases made before it in their
    // intervals; one made after it while the program is stopped cannot be
    // told from those.
    WaylandEndToEndTest() : EndToEndCases(false, false) {}

private slots:
    void initTestCase();

private:
    std::unique_ptr<ProgramOnDesktop> On(ProgramCopy &program) override
    {
        return std::make_unique<ProgramOnWayland>(*m_desktop, program);
    }
    QString DesktopLog() const override
    {
        return QStringLiteral("sway's output:\n") + m_desktop->CompositorLog();
    }

    std::unique_ptr<WaylandDesktop> m_desktop;
};

void WaylandEndToEndTest::initTestCase()
{
    QVERIFY2(QFileInfo::exists(QStringLiteral(VELMORA_PROGRAM)), VELMORA_PROGRAM);
    m_desktop = std::make_unique<WaylandDesktop>();
    switch (m_desktop->StartCompositor()) {
    case WaylandDesktop::Start::Ready:
        break;
    case WaylandDesktop::Start::NoCompositor:
        QSKIP(qPrintable(QStringLiteral("the Wayland compositor cannot start on this machine: ") +
                         m_desktop->Problem()));
    case WaylandDesktop::Start::Broken:
        QFAIL(qPrintable(m_desktop->Problem()));
    }
    qInfo("sway on %s as %s", qPrintable(m_desktop->Environment().value("WAYLAND_DISPLAY")),
          qPrintable(m_desktop->UserName()));
}

#ifdef VELMORA_ON_WAYLAND
QTEST_GUILESS_MAIN(WaylandEndToEndTest)
#else
QTEST_GUILESS_MAIN(EndToEndTest)
#endif
#include "EndToEndTest.moc"

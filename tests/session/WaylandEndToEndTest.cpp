// The program in a Wayland session, as on today's Linux desktops: the real
// binary on Qt's Wayland platform in a private headless sway, driven through
// the keyboard alone with wtype's virtual keyboards. There the keyboard's
// repeat is made by Qt itself from the compositor's repeat settings, and
// nothing of the X server (its key state, detectable auto-repeat) is there
// to help. One case types the name into the input box and runs a whole test
// with keys held for seconds and quick taps between, and holds the stored
// counts against the releases made, exactly; it runs once more when the
// machine was too busy to send the keys on time, never when a count was
// wrong. One stops the program across every interval end while releases
// are made just before it, and holds the stored counts against them. One
// aborts a test with Esc and checks that the history is left alone and the
// window can start again. It skips only where the compositor
// cannot start at all.
#include "HeldKeyRun.h"
#include "LateRetry.h"
#include "Processes.h"
#include "ProgramCopy.h"
#include "ProgramOnWayland.h"
#include "StoppedEndsRun.h"
#include "StoredRecord.h"
#include "WaylandDesktop.h"
#include "WaylandKeys.h"
#include "record/HistoryRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <memory>

using Processes::NowMs;
using Processes::SleepUntilMs;

namespace {

constexpr qint64 LeadMs = WaylandDesktop::KeyboardLeadMs;
constexpr qint64 IntervalMs = HeldKeyRun::IntervalMs;
constexpr int CountedIntervals = HeldKeyRun::CountedIntervals;
// For how long after a test has stopped keys press no button.
constexpr unsigned long KeysQuietMs = 1000;

} // namespace

class WaylandEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void heldKeysCountOnce();
    void stoppedAcrossEndsCountsWhereMade();
    void escAbortsWithoutRecord();

private:
    // A fresh copy of the program in a folder of its own, not started.
    void Fresh();
    // Hands the program's folder to the desktop's user and starts it there.
    void StartProgram();
    // Start, the name typed into the input box, Return; leaves the keys in
    // the diagram area.
    void BeginTest(const QString &name);
    bool Keys(const QStringList &arguments) const { return m_onWayland->Keys(arguments); }
    void HeldKeysAttempt(QString *late);
    void StoppedEndsAttempt(QString *late);

    std::unique_ptr<WaylandDesktop> m_desktop;
    std::unique_ptr<ProgramCopy> m_program;
    std::unique_ptr<ProgramOnWayland> m_onWayland;
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

void WaylandEndToEndTest::cleanupTestCase()
{
    m_desktop.reset();
}

void WaylandEndToEndTest::init()
{
    Fresh();
}

void WaylandEndToEndTest::cleanup()
{
    m_program->Stop();
    if (QTest::currentTestFailed()) {
        qInfo("Program output:\n%s", qPrintable(m_program->Output()));
        qInfo("sway's output:\n%s", qPrintable(m_desktop->CompositorLog()));
    }
    m_onWayland.reset();
    m_program.reset();
}

void WaylandEndToEndTest::Fresh()
{
    m_onWayland.reset();
    m_program = std::make_unique<ProgramCopy>(QStringLiteral(VELMORA_PROGRAM));
    QVERIFY2(m_program->Error().isEmpty(), qPrintable(m_program->Error()));
    m_onWayland = std::make_unique<ProgramOnWayland>(*m_desktop, *m_program);
}

void WaylandEndToEndTest::StartProgram()
{
    const QString error = m_onWayland->Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void WaylandEndToEndTest::BeginTest(const QString &name)
{
    const QString error = m_onWayland->BeginTest(name);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// Held for seconds, a key is repeated by Qt many times over, each repeat a
// release and a press flagged as such; none may count. The counts stored
// are the releases made, exactly, under the name typed.
void WaylandEndToEndTest::heldKeysCountOnce()
{
    RetryOnceWhenLate([this](QString *late) { HeldKeysAttempt(late); }, [this] { Fresh(); });
}

void WaylandEndToEndTest::HeldKeysAttempt(QString *late)
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    const QByteArray name = "Wayland Tester";
    BeginTest(QString::fromLatin1(name));
    if (QTest::currentTestFailed())
        return;

    WaylandKeys keys(*m_desktop);
    HeldKeyRun run;
    const QString failed = run.Play(keys);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    if (!run.Played()) {
        *late = run.Late();
        return;
    }

    QVERIFY2(m_program->WaitForRecords(1), "no record was stored");
    const QByteArray history = m_program->History();
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

// The program held up across every interval end while releases are made
// just before it: each must still count in its own interval. The keys wtype
// sends carry no time stamp, so the program counts a release where it
// handles it, and only its taking in of the input still pending at an end
// keeps these in their intervals.
void WaylandEndToEndTest::stoppedAcrossEndsCountsWhereMade()
{
    RetryOnceWhenLate([this](QString *late) { StoppedEndsAttempt(late); }, [this] { Fresh(); });
}

void WaylandEndToEndTest::StoppedEndsAttempt(QString *late)
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Held Up"));
    if (QTest::currentTestFailed())
        return;

    WaylandKeys keys(*m_desktop);
    StoppedEndsRun run(false);
    const QString failed = run.Play(keys, m_program->ProcessId());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    *late = run.Late();
    if (!run.Played() || !late->isEmpty())
        return;

    QVERIFY2(m_program->WaitForRecords(1), "no record was stored");
    const QByteArray history = m_program->History();
    QCOMPARE(history.size(), StoredRecord::Length);
    const StoredRecord record = StoredRecord::Decode(history);
    qInfo("%s", qPrintable(run.Describe(record.counts)));
    QVERIFY2(run.Exact(record.counts), qPrintable(run.Describe(record.counts)));
    QVERIFY(m_program->IsRunning());
}

void WaylandEndToEndTest::escAbortsWithoutRecord()
{
    HistoryRecord earlier;
    earlier.SetName(QStringLiteral("Earlier run"));
    earlier.RecCounts = {40, 39, 38, 37};
    {
        QFile file(m_program->HistoryPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(earlier.Encode()), qint64(StoredRecord::Length));
    }
    const QByteArray before = m_program->History();

    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Esc Tester"));
    if (QTest::currentTestFailed())
        return;
    // Taps for about seven seconds, into the first counted interval, so the
    // run has counts to lose.
    QStringList taps;
    for (int tap = 0; tap < 35; ++tap)
        taps << QStringLiteral("-k") << QString(QLatin1Char("asdfjkl"[tap % 7]))
             << QStringLiteral("-s") << QStringLiteral("200");
    const qint64 firstMs = NowMs() + LeadMs;
    QVERIFY(Keys(taps));
    QVERIFY(Keys({QStringLiteral("-k"), QStringLiteral("Escape")}));

    // Back at idle the focus is on "Next >>" and "Start" takes a new name,
    // once the moment in which keys press no button has passed.
    QThread::msleep(KeysQuietMs + 200);
    QVERIFY(Keys({QStringLiteral("-M"), QStringLiteral("shift"), QStringLiteral("-k"),
                  QStringLiteral("Tab"), QStringLiteral("-m"), QStringLiteral("shift"),
                  QStringLiteral("-s"), QStringLiteral("50"), QStringLiteral("-k"),
                  QStringLiteral("space")}));
    QVERIFY2(m_desktop->WaitForFocused(QStringLiteral("Input")),
             "Start did not work again after Esc");
    QVERIFY(Keys({QStringLiteral("-k"), QStringLiteral("Escape")}));
    QVERIFY(m_desktop->WaitForWindowGone(QStringLiteral("Input")));

    // Past the moment the aborted run would have ended and been stored,
    // whichever second the program started it in.
    SleepUntilMs(firstMs + IntervalMs * (CountedIntervals + 1) + 4000);
    QVERIFY(m_program->IsRunning());
    QCOMPARE(m_program->History(), before);
}

QTEST_GUILESS_MAIN(WaylandEndToEndTest)
#include "WaylandEndToEndTest.moc"

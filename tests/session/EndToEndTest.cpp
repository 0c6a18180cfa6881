// The program as a person meets it: the real binary in a private X server,
// driven through the keyboard alone with xdotool, under a window manager as
// on a person's desktop. One case runs a whole test at about eight key
// presses a second and holds the record the program appends against the
// presses this test timed into each interval; one holds keys down for
// seconds, so the server repeats them, while every core is kept busy, and
// holds the stored counts against the releases made; one aborts a test
// with Esc and checks that the history is left alone and the window can
// start again. Two more go through the real menus and dialogs: two whole
// tests, then the data window and an export typed into Qt's own file
// dialog, whose bytes are held against the records on disk; and clearing
// the history, which must move the file byte for byte into "res" beside
// the program, or leave it where it is when it cannot. This is the only
// test that sees the real clock, the real timers, the real keyboard repeat
// and the real key path from the X server to the diagram and the menus.
#include "results/Evaluation.h"
#include "session/HistoryRecord.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <sys/prctl.h>

namespace {

constexpr int WindowTimeoutMs = 30000;
constexpr int RecordTimeoutMs = 15000;
constexpr qint64 IntervalMs = 5000;
constexpr int CountedIntervals = 4;
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
const char *const PressKeys[] = {"a", "s", "d", "f", "j", "k", "l", "1", "2", "3"};

// The held-key run, interval by interval: how long the key is held and how
// many quick presses follow its release. Every release lies between one
// and 4.4 seconds into its interval, so it stays in that interval even when
// the program, rounding the clock at a busy moment, starts its timing a
// whole second later than this test expects.
struct Holding
{
    const char *key;
    qint64 holdMs;
    int taps;
};
constexpr Holding Holdings[] = {
    {"q", 2500, 1}, {"w", 3000, 0}, {"e", 2000, 3}, {"r", 2500, 1}, {"t", 2200, 2},
};
constexpr qint64 HoldFromMs = 600;
constexpr qint64 TapEveryMs = 400;
constexpr qint64 EarliestReleaseMs = 1000;
constexpr qint64 LatestReleaseMs = 4400;

// Runs for the data window go at a modest rate, one press after another,
// until the record is on disk: their counts are not what is checked there.
constexpr qint64 ModestPressMs = 120;
constexpr int RunTimeoutMs = 45000;

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void sleepUntilMs(qint64 when)
{
    const qint64 left = when - nowMs();
    if (left > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(left));
}

// The whole second a run's timing starts from, as the program rounds it.
qint64 roundedSecondMs(qint64 ms)
{
    return qint64(Evaluation::RoundHalfEven(double(ms) / 1000.0)) * 1000;
}

// Children die with this process even when it is killed outright, so a
// timed-out or crashed test leaves no X server or program behind.
void dieWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
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

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(5000);
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
            dieWithParent(*loop);
            loop->start(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
    }
    ~BusyCores()
    {
        for (auto &loop : m_loops)
            stop(*loop);
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

struct StoredRecord
{
    QByteArray name;
    QDateTime when;
    std::int16_t cmf = 0;
    std::array<std::int16_t, CountedIntervals> counts{};
    QByteArray filler;
};

// Decoded straight from the file layout, not through the program's own
// decoder, so a fault in its encoding cannot cancel out here.
StoredRecord decodeRecord(const QByteArray &bytes)
{
    StoredRecord record;
    const char *data = bytes.constData();
    record.name = bytes.left(20);
    const auto doubleAt = [data](int offset) {
        const auto bits = qFromLittleEndian<quint64>(data + offset);
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    const double date = doubleAt(20);
    const double time = doubleAt(28);
    record.when = QDateTime(QDate(1899, 12, 30).addDays(qint64(std::floor(date))),
                            QTime(0, 0).addSecs(int(std::lround(time * 86400.0))));
    record.cmf = qFromLittleEndian<std::int16_t>(data + 36);
    for (int i = 0; i < CountedIntervals; ++i)
        record.counts[std::size_t(i)] = qFromLittleEndian<std::int16_t>(data + 38 + 2 * i);
    record.filler = bytes.mid(HistoryRecord::FillerOffset);
    return record;
}

QList<StoredRecord> decodeRecords(const QByteArray &history)
{
    QList<StoredRecord> records;
    for (qsizetype at = 0; at + HistoryRecord::RecordLength <= history.size();
         at += HistoryRecord::RecordLength)
        records.append(decodeRecord(history.mid(at, HistoryRecord::RecordLength)));
    return records;
}

// The export's line for a record as a reader of the table expects it, in
// the C locale the program runs in here: fixed columns between " * ".
QByteArray exportLine(const StoredRecord &record)
{
    const QByteArray name = record.name.trimmed().leftJustified(HistoryRecord::NameLength, ' ');
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

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void fullRunStoresTheTimedCounts();
    void heldKeysUnderLoadCountOnce();
    void escAbortsWithoutRecord();
    void dataWindowExportsTwoRuns();
    void clearMovesHistoryIntoRes_data();
    void clearMovesHistoryIntoRes();

private:
    QString ProgramPath() const { return m_dir->filePath(QStringLiteral("velmora")); }
    QString BackupPath() const { return m_dir->filePath(QStringLiteral("res")); }
    QString HistoryPath() const { return m_dir->filePath(QStringLiteral("restest.dat")); }
    QByteArray History() const;

    // Runs xdotool against the private display; false on a non-zero exit or
    // when it takes longer than timeoutMs.
    bool Xdotool(const QStringList &arguments, int timeoutMs = 10000, QByteArray *output = nullptr);
    // The first visible window with exactly this title, waited for.
    QString WaitForWindow(const QString &title, int timeoutMs = WindowTimeoutMs);
    bool WaitForWindowGone(const QString &title, int timeoutMs = WindowTimeoutMs);
    // The visible windows with exactly this title, none when there are none.
    QStringList VisibleWindows(const QString &title);
    // A message box: a window under the program's own title that is not its
    // main window, waited for.
    QString WaitForMessageBox(int timeoutMs = WindowTimeoutMs);
    bool WaitForWindowIdGone(const QString &window, int timeoutMs = WindowTimeoutMs);
    // Closes a message box with Return, its default button.
    bool Answer(const QString &box);
    // Keys for the menus, pressed one after another in the main window.
    bool Menu(const QStringList &keys);
    bool Focus(const QString &window);
    QString ProgramOutput();

    void StartProgram();
    // Start, the name in the input box, Return; leaves the keys in the
    // diagram area. After a run the focus is on "Next >>", one back from
    // "Start".
    void BeginTest(const QString &name, bool afterRun = false);
    // Presses keys at a modest rate until the history holds this many
    // records.
    void RunUntilStored(int records);
    // Sends presses from early in a second until untilAfterStartMs after
    // that second; returns every press with the wall-clock times around
    // its sending.
    QList<Press> SendPresses(qint64 untilAfterStartMs);
    // One xdotool command at the given moment; the times around it.
    std::optional<Press> SendAt(qint64 whenMs, const QStringList &arguments);
    void WaitForRecord(int records = 1);

    QProcess m_xvfb;
    QProcess m_windowManager;
    QString m_display;
    std::unique_ptr<QTemporaryDir> m_wmDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_program;
    QString m_mainWindow;
};

void EndToEndTest::initTestCase()
{
    for (const char *tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QFAIL(
                qPrintable(QStringLiteral("%1 is not installed (bash scripts/setup.sh installs it)")
                               .arg(QLatin1String(tool))));
    }
    QVERIFY2(QFileInfo::exists(QStringLiteral(VELMORA_PROGRAM)), VELMORA_PROGRAM);
    // The server picks a free display itself and names it on its stdout
    // once it accepts clients.
    dieWithParent(m_xvfb);
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("1024x768x24")});
    QVERIFY2(m_xvfb.waitForStarted(10000), qPrintable(m_xvfb.errorString()));
    QElapsedTimer waited;
    waited.start();
    QByteArray number;
    while (!number.contains('\n') && waited.elapsed() < WindowTimeoutMs &&
           m_xvfb.state() == QProcess::Running) {
        m_xvfb.waitForReadyRead(500);
        number += m_xvfb.readAllStandardOutput();
    }
    QVERIFY2(number.contains('\n'),
             qPrintable(QStringLiteral("Xvfb did not start: ") +
                        QString::fromLocal8Bit(m_xvfb.readAllStandardError())));
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    qInfo("X server on display %s", qPrintable(m_display));

    // A window manager of its own on that display, with its stock settings;
    // it runs the command given at start-up once it manages the screen.
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        QFAIL("openbox is not installed (bash scripts/setup.sh installs it)");
    m_wmDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_wmDir->isValid());
    const QString ready = m_wmDir->filePath(QStringLiteral("ready"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_wmDir->path());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_wmDir->path());
    m_windowManager.setProcessEnvironment(environment);
    dieWithParent(m_windowManager);
    m_windowManager.start(QStringLiteral("openbox"),
                          {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                           QStringLiteral("touch ") + ready});
    QVERIFY2(m_windowManager.waitForStarted(10000), qPrintable(m_windowManager.errorString()));
    waited.restart();
    while (!QFileInfo::exists(ready) && waited.elapsed() < WindowTimeoutMs &&
           m_windowManager.state() == QProcess::Running)
        QTest::qSleep(50);
    QVERIFY2(QFileInfo::exists(ready),
             qPrintable(QStringLiteral("openbox did not start: ") +
                        QString::fromLocal8Bit(m_windowManager.readAllStandardError())));
}

void EndToEndTest::cleanupTestCase()
{
    stop(m_windowManager);
    stop(m_xvfb);
}

void EndToEndTest::init()
{
    // A folder of its own, as the program keeps its history beside itself.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_PROGRAM), ProgramPath()));
    QVERIFY(QFile::setPermissions(ProgramPath(),
                                  QFile::permissions(ProgramPath()) | QFileDevice::ExeOwner));
    // Clearing moves the history into this folder and never makes it.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("res")));
    m_mainWindow.clear();
}

void EndToEndTest::cleanup()
{
    stop(m_program);
    if (QTest::currentTestFailed())
        qInfo("Program output:\n%s", qPrintable(ProgramOutput()));
    m_dir.reset();
}

QByteArray EndToEndTest::History() const
{
    QFile file(HistoryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString EndToEndTest::ProgramOutput()
{
    return QString::fromLocal8Bit(m_program.readAllStandardOutput() +
                                  m_program.readAllStandardError());
}

bool EndToEndTest::Xdotool(const QStringList &arguments, int timeoutMs, QByteArray *output)
{
    QProcess xdotool;
    dieWithParent(xdotool);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(timeoutMs)) {
        stop(xdotool);
        return false;
    }
    if (output != nullptr)
        *output = xdotool.readAllStandardOutput();
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

QString EndToEndTest::WaitForWindow(const QString &title, int timeoutMs)
{
    QByteArray found;
    if (!Xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                  QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + title + QLatin1Char('$')},
                 timeoutMs, &found))
        return {};
    return QString::fromLatin1(found).section(QLatin1Char('\n'), 0, 0).trimmed();
}

bool EndToEndTest::WaitForWindowGone(const QString &title, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        // search exits with 1 when nothing matches.
        if (!Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')}))
            return true;
        QTest::qSleep(50);
    }
    return false;
}

bool EndToEndTest::Focus(const QString &window)
{
    // Without a window manager nobody hands the focus back when a dialog
    // closes, and a dialog may map before the program focuses it; setting
    // it here makes the keys' target certain.
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
}

QStringList EndToEndTest::VisibleWindows(const QString &title)
{
    QByteArray found;
    // search exits with 1 when nothing matches.
    if (!Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')},
                 10000, &found))
        return {};
    return QString::fromLatin1(found).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString EndToEndTest::WaitForMessageBox(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        for (const QString &window : VisibleWindows(QStringLiteral("Velmora"))) {
            if (window.trimmed() != m_mainWindow)
                return window.trimmed();
        }
        QTest::qSleep(50);
    }
    return {};
}

bool EndToEndTest::WaitForWindowIdGone(const QString &window, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        bool shown = false;
        for (const QString &title : {QStringLiteral("Velmora"), QStringLiteral("Data delete")})
            shown = shown || VisibleWindows(title).contains(window);
        if (!shown)
            return true;
        QTest::qSleep(50);
    }
    return false;
}

bool EndToEndTest::Answer(const QString &box)
{
    return !box.isEmpty() && Focus(box) &&
           Xdotool({QStringLiteral("key"), QStringLiteral("Return")}) && WaitForWindowIdGone(box);
}

bool EndToEndTest::Menu(const QStringList &keys)
{
    // One command, so the keys follow one another in order; the pause lets
    // each menu open before the next key looks for an item in it.
    return Focus(m_mainWindow) &&
           Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                               QStringLiteral("150")} +
                   keys);
}

void EndToEndTest::StartProgram()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // CTest runs the suite on the offscreen platform; this program must
    // reach the X server.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
    // Dates and times in the lists and the export as a system without
    // regional settings writes them, whatever this machine's are.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    m_program.setProcessEnvironment(environment);
    m_program.setWorkingDirectory(m_dir->path());
    dieWithParent(m_program);
    m_program.start(ProgramPath(), {});
    QVERIFY2(m_program.waitForStarted(10000), qPrintable(m_program.errorString()));
    m_mainWindow = WaitForWindow(QStringLiteral("Velmora"));
    QVERIFY2(!m_mainWindow.isEmpty(),
             qPrintable(QStringLiteral("no program window: ") + ProgramOutput()));
}

void EndToEndTest::BeginTest(const QString &name, bool afterRun)
{
    QVERIFY(Focus(m_mainWindow));
    if (afterRun)
        QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("shift+Tab")}));
    // The test window gives "Start" the focus when it is activated.
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("space")}));
    const QString input = WaitForWindow(QStringLiteral("Input"));
    QVERIFY2(!input.isEmpty(), "Start did not ask for the name");
    QVERIFY(Focus(input));
    QVERIFY(
        Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), name}));
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QVERIFY2(WaitForWindowGone(QStringLiteral("Input")), "the input box stayed open");
    QVERIFY(Focus(m_mainWindow));
}

QList<Press> EndToEndTest::SendPresses(qint64 untilAfterStartMs)
{
    QList<Press> presses;
    const auto send = [&] {
        Press press;
        press.beforeMs = nowMs();
        const char *key = PressKeys[presses.size() % std::size(PressKeys)];
        if (!Xdotool({QStringLiteral("key"), QLatin1String(key)}))
            return false;
        press.afterMs = nowMs();
        presses.append(press);
        return true;
    };
    // The first press goes out well before the middle of a second, so the
    // program and this test both round the start down to that second, yet
    // late enough that timing from the press itself would misplace every
    // end by more than the grid's quiet edges allow.
    const qint64 now = nowMs();
    sleepUntilMs(now - now % 1000 + (now % 1000 <= FirstPressMs - 20 ? 0 : 1000) + FirstPressMs);
    if (!send())
        return {};
    const qint64 startMs = roundedSecondMs(presses.first().afterMs);
    int late = 0;
    for (qint64 offset = (presses.first().afterMs - startMs) / GridMs * GridMs + GridMs;
         offset < untilAfterStartMs; offset += GridMs) {
        if (!onGrid(offset))
            continue;
        if (nowMs() > startMs + offset + LatestMs) {
            ++late;
            continue;
        }
        sleepUntilMs(startMs + offset);
        if (!send())
            return {};
    }
    if (late > 0)
        qInfo("%d presses left out because the machine was busy", late);
    return presses;
}

void EndToEndTest::WaitForRecord(int records)
{
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(HistoryPath()).size() < records * HistoryRecord::RecordLength &&
           waited.elapsed() < RecordTimeoutMs)
        QTest::qSleep(100);
}

void EndToEndTest::RunUntilStored(int records)
{
    QElapsedTimer waited;
    waited.start();
    int sent = 0;
    while (QFileInfo(HistoryPath()).size() < records * HistoryRecord::RecordLength &&
           waited.elapsed() < RunTimeoutMs) {
        const qint64 next = nowMs() + ModestPressMs;
        QVERIFY(Xdotool({QStringLiteral("key"), QLatin1String(PressKeys[sent % 10])}));
        ++sent;
        sleepUntilMs(next);
    }
    QCOMPARE(QFileInfo(HistoryPath()).size(), qint64(records) * HistoryRecord::RecordLength);
}

std::optional<Press> EndToEndTest::SendAt(qint64 whenMs, const QStringList &arguments)
{
    sleepUntilMs(whenMs);
    Press press;
    press.beforeMs = nowMs();
    if (!Xdotool(arguments))
        return std::nullopt;
    press.afterMs = nowMs();
    return press;
}

void EndToEndTest::fullRunStoresTheTimedCounts()
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    const QByteArray name = "Ada Tester";
    BeginTest(QString::fromLatin1(name));
    if (QTest::currentTestFailed())
        return;

    // Presses go on for a second past the run's end: those must not count.
    const QList<Press> presses = SendPresses(26 * 1000);
    QVERIFY(!presses.isEmpty());
    const qint64 startMs = roundedSecondMs(presses.first().afterMs);
    const qint64 firstInSecondMs = presses.first().afterMs - startMs;
    QVERIFY2(firstInSecondMs >= 0 && firstInSecondMs < 400,
             qPrintable(QStringLiteral("first press sent too late in its second (%1 ms); the "
                                       "machine is too busy for this test")
                            .arg(presses.first().afterMs % 1000)));
    const qint64 endMs = startMs + IntervalMs * (CountedIntervals + 1);

    WaitForRecord();
    const QByteArray history = History();
    QCOMPARE(history.size(), HistoryRecord::RecordLength);
    QCOMPARE(m_program.state(), QProcess::Running);

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
    const StoredRecord record = decodeRecord(history);
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
    for (const int sent : expected)
        QVERIFY2(sent >= 20, "too few presses went out; the machine is too busy");

    QCOMPARE(record.name, name.leftJustified(HistoryRecord::NameLength, ' '));
    QCOMPARE(record.filler,
             QByteArray(HistoryRecord::RecordLength - HistoryRecord::FillerOffset, 0));
    const auto cmf = Evaluation::CalcCMF(record.counts[0], record.counts[3]);
    QVERIFY(cmf.has_value());
    QCOMPARE(record.cmf, *cmf);
    const qint64 storedOffMs = record.when.toMSecsSinceEpoch() - endMs;
    QVERIFY2(std::abs(storedOffMs) <= 3000,
             qPrintable(QStringLiteral("stored time %1 is %2 ms from the run's end")
                            .arg(record.when.toString(Qt::ISODate))
                            .arg(storedOffMs)));
}

// Held for seconds, a key is repeated by the server many times over; with
// every core busy the program reads those repeats late, and each must still
// not count. The counts stored are the releases made, exactly.
void EndToEndTest::heldKeysUnderLoadCountOnce()
{
    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Held Keys"));
    if (QTest::currentTestFailed())
        return;

    const BusyCores busy;
    // The first press starts the run early in a second, so the program
    // rounds its start down to that second, or at worst up to the next.
    const qint64 now = nowMs();
    const auto first =
        SendAt(now - now % 1000 + (now % 1000 <= FirstPressMs - 20 ? 0 : 1000) + FirstPressMs,
               {QStringLiteral("key"), QStringLiteral("z")});
    QVERIFY(first);
    // The program cannot read the clock before the press went out.
    const qint64 startMs = first->beforeMs - first->beforeMs % 1000;
    QVERIFY2(first->beforeMs - startMs < 400, "the machine is too busy for this test");

    std::array<int, CountedIntervals> sent{};
    QStringList misplaced;
    const auto release = [&](qint64 interval, qint64 whenMs, const QStringList &arguments) {
        const auto done = SendAt(whenMs, arguments);
        if (!done)
            return false;
        const qint64 within = done->beforeMs - startMs - interval * IntervalMs;
        const qint64 withinAfter = done->afterMs + ReadingMs - startMs - interval * IntervalMs;
        if (within < EarliestReleaseMs || withinAfter >= IntervalMs)
            misplaced << QStringLiteral("%1 at %2..%3 ms into interval %4")
                             .arg(arguments.join(QLatin1Char(' ')))
                             .arg(within)
                             .arg(withinAfter)
                             .arg(interval);
        if (interval >= 1)
            ++sent[std::size_t(interval - 1)];
        return true;
    };
    for (qint64 interval = 0; interval < qint64(std::size(Holdings)); ++interval) {
        const Holding &holding = Holdings[interval];
        const QString key = QLatin1String(holding.key);
        const qint64 from = startMs + interval * IntervalMs;
        QVERIFY(SendAt(from + HoldFromMs, {QStringLiteral("keydown"), key}));
        qint64 at = from + HoldFromMs + holding.holdMs;
        QVERIFY(release(interval, at, {QStringLiteral("keyup"), key}));
        for (int tap = 0; tap < holding.taps; ++tap) {
            at += TapEveryMs;
            QVERIFY(
                release(interval, at, {QStringLiteral("key"), QLatin1String(PressKeys[tap % 10])}));
        }
        QVERIFY(at - from <= LatestReleaseMs);
    }

    WaitForRecord();
    const QByteArray history = History();
    QCOMPARE(history.size(), HistoryRecord::RecordLength);
    const StoredRecord record = decodeRecord(history);
    const QString counts = QStringLiteral("stored %1 %2 %3 %4, released %5 %6 %7 %8")
                               .arg(record.counts[0])
                               .arg(record.counts[1])
                               .arg(record.counts[2])
                               .arg(record.counts[3])
                               .arg(sent[0])
                               .arg(sent[1])
                               .arg(sent[2])
                               .arg(sent[3]);
    qInfo("%s", qPrintable(counts));
    QVERIFY2(misplaced.isEmpty(),
             qPrintable(QStringLiteral("the machine was too busy to place the keys: ") +
                        misplaced.join(QStringLiteral("; "))));
    for (std::size_t i = 0; i < sent.size(); ++i)
        QVERIFY2(record.counts[i] == sent[i], qPrintable(counts));
    QCOMPARE(m_program.state(), QProcess::Running);
}

void EndToEndTest::escAbortsWithoutRecord()
{
    HistoryRecord earlier;
    earlier.SetName(QStringLiteral("Earlier run"));
    earlier.RecCounts = {40, 39, 38, 37};
    {
        QFile file(HistoryPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(earlier.Encode()), qint64(HistoryRecord::RecordLength));
    }
    const QByteArray before = History();

    StartProgram();
    if (QTest::currentTestFailed())
        return;
    BeginTest(QStringLiteral("Esc Tester"));
    if (QTest::currentTestFailed())
        return;
    // Into the first counted interval, so the run has counts to lose.
    const QList<Press> presses = SendPresses(7 * 1000);
    QVERIFY(!presses.isEmpty());
    const qint64 startMs = roundedSecondMs(presses.first().afterMs);
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));

    // Back at idle the focus is on "Next >>" and "Start" takes a new name.
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("shift+Tab")}));
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("space")}));
    const QString input = WaitForWindow(QStringLiteral("Input"));
    QVERIFY2(!input.isEmpty(), "Start did not work again after Esc");
    QVERIFY(Focus(input));
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QVERIFY(WaitForWindowGone(QStringLiteral("Input")));

    // Past the moment the aborted run would have ended and been stored.
    sleepUntilMs(startMs + IntervalMs * (CountedIntervals + 1) + 3000);
    QCOMPARE(m_program.state(), QProcess::Running);
    QCOMPARE(History(), before);
}

// Two whole tests, then View > Data and File > Export text file through the
// menus, a file name typed into the file dialog: the table on disk must
// list exactly the records the history file holds, in their order.
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
    const QList<StoredRecord> records = decodeRecords(history);
    QCOMPARE(records.size(), names.size());
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(records[i].name,
                 names[i].toLatin1().leftJustified(HistoryRecord::NameLength, ' '));

    QVERIFY(Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));
    // "Export text file" shares its E with "Exit": the first E marks it and
    // Return takes it. It is only enabled while the data window is open.
    QVERIFY(Menu({QStringLiteral("alt+f"), QStringLiteral("e"), QStringLiteral("Return")}));
    const QString dialog = WaitForWindow(QStringLiteral("Save As"));
    QVERIFY2(!dialog.isEmpty(), "no file dialog: the data window did not open or Export is off");
    const QString folder = m_dir->filePath(QStringLiteral("Tables of the day"));
    QVERIFY(QDir().mkdir(folder));
    const QString target = folder + QStringLiteral("/Day 1.txt");
    QVERIFY(Focus(dialog));
    // The name field has the focus with "Default.txt" selected.
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
    QVERIFY(
        Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), target}));
    QVERIFY(Xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QVERIFY2(WaitForWindowGone(QStringLiteral("Save As")), "the file dialog stayed open");
    // "File saved!"
    QVERIFY2(Answer(WaitForMessageBox()), "no message after the export");

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
    QCOMPARE(m_program.state(), QProcess::Running);
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
    for (int i = 0; i < 3; ++i) {
        HistoryRecord record;
        record.SetName(QStringLiteral("Stored %1").arg(i + 1));
        record.RecDate = 45000 + i;
        record.RecTime = 0.25 * i;
        record.RecCMF = std::int16_t(5 * i);
        record.RecCounts = {std::int16_t(40 + i), 39, 38, std::int16_t(40 - 2 * i)};
        before += record.Encode();
    }
    {
        QFile file(HistoryPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(before), before.size());
    }
    if (!withBackupFolder)
        QVERIFY(QDir(BackupPath()).removeRecursively());

    StartProgram();
    if (QTest::currentTestFailed())
        return;
    // Clearing is offered while the data window is open.
    QVERIFY(Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));
    QVERIFY(Menu({QStringLiteral("alt+f"), QStringLiteral("c")}));
    const QString question = WaitForWindow(QStringLiteral("Data delete"));
    QVERIFY2(!question.isEmpty(), "Clear did not ask");
    // Yes is the default button.
    QVERIFY(Answer(question));
    // "Default file data clear!", or the error when there is no "res".
    QVERIFY2(Answer(WaitForMessageBox()), "no message after clearing");

    if (!withBackupFolder) {
        QCOMPARE(History(), before);
        QVERIFY(!QFileInfo::exists(BackupPath()));
        return;
    }
    QVERIFY(!QFileInfo::exists(HistoryPath()));
    const QStringList backups = QDir(BackupPath()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(backups.size(), 1);
    const QString backup = backups.first();
    QVERIFY2(backup.startsWith(QStringLiteral("restest. ")), qPrintable(backup));
    bool isNumber = false;
    const int number = backup.mid(9).toInt(&isNumber);
    QVERIFY2(isNumber && number >= 1 && number <= 999 &&
                 backup == QStringLiteral("restest. ") + QString::number(number),
             qPrintable(backup));
    QFile moved(QDir(BackupPath()).filePath(backup));
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QCOMPARE(moved.readAll(), before);
    QCOMPARE(m_program.state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"

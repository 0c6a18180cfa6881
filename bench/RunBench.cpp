// What a test run costs the machine, measured on a real test window inside
// the real main frame (offscreen unless a platform is named): the time to
// handle one key release with its diagram step, and over whole runs at ten
// releases a second the share of one core the program takes and how late it
// acts on each interval end. A late end moves presses into the wrong
// interval and a busy program slows the person's machine, so both are
// figures a change must not spoil. A plain program rather than a Google
// Benchmark: whole runs take real time and the figures wanted are
// percentiles and worst cases, not a mean per iteration.
#include "ScriptedPlatform.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/input/KeyCodes.h"
#include "platform/ui/PictureBox.h"
#include "session/LiveDiagram.h"
#include "session/Startup.h"
#include "session/TestRun.h"
#include "session/TestWindow.h"
#include "shell/MainFrame.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr double KeyTargetUs = 50.0;
// Counting a release and keeping its moment stays far below the spread of
// a release's whole handling, so that recording costs nothing measurable.
constexpr double RecordTargetNs = 500.0;
constexpr int RecordedPerRun = 2000;
constexpr int RecordedPerBatch = 100;
constexpr double CpuTargetPercent = 2.0;
constexpr int ReleasesPerSecond = 10;
constexpr int ReleasesPerBatch = 200;
constexpr int EndsPerRun = 5;

constexpr double LateP99TargetMs = 2.0;
constexpr double LateMaxTargetMs = 5.0;

struct Options
{
    int runs = 4;
    int keys = 20000;
    double busyPollSeconds = 0.0;
    QString load;
};

void usage()
{
    std::puts("usage: run_bench [--runs N] [--keys N] [--busy-poll S] [--load TEXT]\n"
              "  --runs N       whole runs at ten releases a second, about 25 s each (default 4)\n"
              "  --keys N       key releases timed one by one (default 20000)\n"
              "  --busy-poll S  also S seconds of a loop polling the clock between events,\n"
              "                 the way runs were once timed, for its processor share\n"
              "  --load TEXT    what else the machine was doing; the runs' interval timing\n"
              "                 is then reported without a target");
}

bool parseOptions(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            return false;
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue)
            options.runs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--keys") == 0 && hasValue)
            options.keys = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--busy-poll") == 0 && hasValue)
            options.busyPollSeconds = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--load") == 0 && hasValue)
            options.load = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    return options.runs >= 0 && options.keys >= 0 && options.busyPollSeconds >= 0.0;
}

std::int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t cpuUs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto us = [](const timeval &t) {
        return std::int64_t(t.tv_sec) * 1'000'000 + t.tv_usec;
    };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

// Time this process spent runnable but waiting for a core, from the
// scheduler's own account: a late interval end with a matching wait was
// the machine's doing, not the program's.
std::int64_t runQueueWaitNs()
{
    std::FILE *file = std::fopen("/proc/self/schedstat", "r");
    if (file == nullptr)
        return 0;
    long long running = 0;
    long long waiting = 0;
    const int read = std::fscanf(file, "%lld %lld", &running, &waiting);
    std::fclose(file);
    return read == 2 ? waiting : 0;
}

// Nearest-rank percentile of an unsorted sample.
double percentile(std::vector<double> values, double percent)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// Notes when each timer event starts to be delivered. An interval end is
// acted on inside the run timer's timer event, before any other slot hears
// of it, so the start of that delivery is when the test window's handler
// runs, and a slot connected after the window's own one can read it back.
class TimerEventProbe : public QObject
{
public:
    std::int64_t LastNs() const { return m_lastNs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            m_lastNs = Platform::GetClock().MonotonicNs();
        return QObject::eventFilter(watched, event);
    }

private:
    std::int64_t m_lastNs = 0;
};

class RunBench
{
public:
    RunBench(const MainFrame &frame, ScriptedDialogs &dialogs)
        : m_dialogs(dialogs), m_test(frame.Child<TestWindow>())
    {}

    bool Ready() const { return m_test != nullptr; }
    bool MeasureKeyHandling(int keys);
    // The counting and keeping of a release alone, on a run of its own.
    bool MeasureRecording(int keys, double keyMedianUs);
    bool MeasureRuns(int runs, const QString &load);

private:
    bool StartTest();
    void KeepPenInside();
    void SendRelease();
    // Whether the latest key step left its colour at the pen.
    bool PaintedStep() const;

    ScriptedDialogs &m_dialogs;
    TestWindow *m_test;
};

bool RunBench::StartTest()
{
    m_dialogs.QueueInput(QStringLiteral("Bench"));
    m_test->StartButton()->click();
    return m_test->Run().CurrentState() == TestRun::State::Armed;
}

void RunBench::KeepPenInside()
{
    // Once the pen has left the area a step paints nothing; keep it inside
    // so every timed step pays for its painting.
    LiveDiagram &pen = m_test->Pen();
    const auto width = static_cast<float>(m_test->Diagram()->ScaleWidth());
    const auto height = static_cast<float>(m_test->Diagram()->ScaleHeight());
    if (pen.PenY() - LiveDiagram::KeyStep < 0.0F || pen.PenY() > height)
        pen.SetPen(pen.PenX(), height / 2.0F);
    if (pen.PenX() + 2.0F * LiveDiagram::Advance > width)
        pen.SetPen(width / 10.0F, pen.PenY());
}

bool RunBench::PaintedStep() const
{
    const LiveDiagram &pen = m_test->Pen();
    PictureBox *area = m_test->Diagram();
    const QPoint pixel = area->ToPixel({pen.PenX(), pen.PenY()});
    const QImage &image = area->Image();
    return image.rect().contains(pixel) &&
           QColor(image.pixel(pixel)) ==
               LiveDiagram::ZoneColour(pen.PenY(), float(area->ScaleHeight()));
}

void RunBench::SendRelease()
{
    if (m_test->Run().CurrentState() == TestRun::State::Idle)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(m_test->Diagram(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(m_test->Diagram(), &release);
}

bool RunBench::MeasureKeyHandling(int keys)
{
    const std::int16_t code = KeyCodes::FromQtKey(Qt::Key_A);
    std::vector<double> us;
    us.reserve(std::size_t(keys));
    bool warmedUp = false;
    int painted = 0;
    int steps = 0;
    while (us.size() < std::size_t(keys)) {
        if (!StartTest()) {
            std::fputs("run_bench: Start did not arm the test window\n", stderr);
            return false;
        }
        // The first release starts the timing and draws nothing: not timed.
        m_test->OnDiagramKeyUp(code);
        // A batch is far shorter than the first interval, so no interval
        // ends in it and the int16 count cannot overflow.
        for (int i = 0; i < ReleasesPerBatch && us.size() < std::size_t(keys); ++i) {
            if (m_test->Run().CurrentState() != TestRun::State::Counting) {
                std::fputs("run_bench: the run ended during a batch\n", stderr);
                return false;
            }
            KeepPenInside();
            const std::int64_t from = steadyNs();
            m_test->OnDiagramKeyUp(code);
            const std::int64_t to = steadyNs();
            ++steps;
            if (warmedUp)
                us.push_back(double(to - from) / 1000.0);
            if (PaintedStep())
                ++painted;
            // The repaint the step asked for, so updates do not pile up.
            QApplication::processEvents();
        }
        m_test->OnDiagramKeyDown(KeyCodes::Escape);
        QApplication::processEvents();
        warmedUp = true;
    }
    const double median = percentile(us, 50.0);
    std::printf("a. One key release with its diagram step (TestWindow::OnDiagramKeyUp), %zu "
                "releases:\n",
                us.size());
    std::printf("   %d of %d steps painted in the area\n", painted, steps);
    std::printf("   median %.1f us (target <= %.0f us: %s), p99 %.1f us, max %.1f us\n", median,
                KeyTargetUs, verdict(median <= KeyTargetUs), percentile(us, 99.0),
                percentile(us, 100.0));
    std::printf("ROW Key release with its diagram step (offscreen, %zu releases)|median %.1f us, "
                "p99 %.1f us|median <= %.0f us|%s\n",
                us.size(), median, percentile(us, 99.0), KeyTargetUs,
                verdict(median <= KeyTargetUs));
    return MeasureRecording(keys, median);
}

bool RunBench::MeasureRecording(int keys, double keyMedianUs)
{
    TestRun run;
    const std::int16_t code = KeyCodes::FromQtKey(Qt::Key_A);
    std::vector<double> ns;
    int recorded = 0;
    bool whole = true;
    while (recorded < keys) {
        m_dialogs.QueueInput(QStringLiteral("Bench"));
        run.Start();
        // Stamped as X11 stamps them, so each release is placed and timed
        // by its stamp: the path taken on a real desktop.
        const auto stamp = quint64(Platform::GetClock().MonotonicNs() / 1'000'000);
        for (int i = 0; i < RecordedPerRun; i += RecordedPerBatch) {
            const std::int64_t from = steadyNs();
            for (int k = 0; k < RecordedPerBatch; ++k)
                run.KeyUp(code, stamp);
            ns.push_back(double(steadyNs() - from) / RecordedPerBatch);
        }
        whole = whole && run.Presses().size() == RecordedPerRun;
        recorded += RecordedPerRun;
        run.KeyDown(KeyCodes::Escape);
    }
    if (!whole) {
        std::fputs("run_bench: a run did not keep every release\n", stderr);
        return false;
    }
    const double median = percentile(ns, 50.0);
    const double share = 100.0 * median / 1000.0 / keyMedianUs;
    std::printf("   counted and kept with its moment alone (TestRun::KeyUp), %d releases: median "
                "%.0f ns (target <= %.0f ns: %s), %.1f %% of the above\n",
                recorded, median, RecordTargetNs, verdict(median <= RecordTargetNs), share);
    std::printf("ROW Key release counted and kept with its moment (TestRun::KeyUp, %d releases)|"
                "median %.0f ns, %.1f %% of the release's handling|median <= %.0f ns|%s\n",
                recorded, median, share, RecordTargetNs, verdict(median <= RecordTargetNs));
    return true;
}

bool RunBench::MeasureRuns(int runs, const QString &load)
{
    TimerEventProbe probe;
    qApp->installEventFilter(&probe);
    RunTimer *intervals = m_test->Run().Intervals();
    std::vector<double> lateMs;
    std::vector<double> doneMs;
    QEventLoop loop;
    int endsThisRun = 0;
    QObject::connect(intervals, &RunTimer::IntervalEnded, &loop, [&] {
        const std::int64_t now = Platform::GetClock().MonotonicNs();
        lateMs.push_back(double(probe.LastNs() - intervals->LastDueNs()) / 1e6);
        doneMs.push_back(double(now - intervals->LastDueNs()) / 1e6);
        if (++endsThisRun == EndsPerRun || m_test->Run().CurrentState() == TestRun::State::Idle)
            loop.quit();
    });
    QTimer keys;
    keys.setTimerType(Qt::PreciseTimer);
    keys.setInterval(1000 / ReleasesPerSecond);
    QObject::connect(&keys, &QTimer::timeout, &loop, [this] { SendRelease(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });

    if (runs > 0)
        std::printf("b. Whole runs at %d key releases a second:\n", ReleasesPerSecond);
    std::int64_t totalCpuUs = 0;
    std::int64_t totalWallNs = 0;
    double worstShare = 0.0;
    for (int run = 1; run <= runs; ++run) {
        endsThisRun = 0;
        const std::int64_t wallFrom = steadyNs();
        const std::int64_t cpuFrom = cpuUs();
        const std::int64_t waitFrom = runQueueWaitNs();
        if (!StartTest()) {
            std::fputs("run_bench: Start did not arm the test window\n", stderr);
            return false;
        }
        keys.start();
        watchdog.start(60'000);
        loop.exec();
        keys.stop();
        watchdog.stop();
        const std::int64_t cpuUsed = cpuUs() - cpuFrom;
        const double waitedMs = double(runQueueWaitNs() - waitFrom) / 1e6;
        const std::int64_t wallNs = steadyNs() - wallFrom;
        if (timedOut || endsThisRun != EndsPerRun) {
            std::fprintf(stderr, "run_bench: run %d did not finish (%d interval ends)\n", run,
                         endsThisRun);
            return false;
        }
        const double share = 100.0 * double(cpuUsed) * 1000.0 / double(wallNs);
        worstShare = std::max(worstShare, share);
        totalCpuUs += cpuUsed;
        totalWallNs += wallNs;
        std::printf("   run %d: %.2f s, CPU %.0f ms = %.2f %% of one core; ends late by", run,
                    double(wallNs) / 1e9, double(cpuUsed) / 1000.0, share);
        for (std::size_t i = lateMs.size() - EndsPerRun; i < lateMs.size(); ++i)
            std::printf(" %.2f", lateMs[i]);
        std::printf(" ms; waited %.1f ms in all for a core\n", waitedMs);
        std::fflush(stdout);
    }
    qApp->removeEventFilter(&probe);
    if (runs == 0)
        return true;

    const double share = 100.0 * double(totalCpuUs) * 1000.0 / double(totalWallNs);
    std::printf("   CPU: %.2f %% of one core on average (target <= %.0f %%: %s), worst run %.2f "
                "%%\n",
                share, CpuTargetPercent, verdict(share <= CpuTargetPercent), worstShare);
    std::printf("   interval-end lateness over %zu ends (the test window's handler starting, "
                "minus RunTimer::LastDueNs()):\n",
                lateMs.size());
    std::printf("     max %.3f ms, p99 %.3f ms, median %.3f ms\n", percentile(lateMs, 100.0),
                percentile(lateMs, 99.0), percentile(lateMs, 50.0));
    const double lateP99 = percentile(lateMs, 99.0);
    const double lateMax = percentile(lateMs, 100.0);
    if (load.isEmpty()) {
        std::printf("ROW CPU share of a run at %d releases/s (offscreen, %d runs)|%.2f %% of one "
                    "core|<= %.0f %%|%s\n",
                    ReleasesPerSecond, runs, share, CpuTargetPercent,
                    verdict(share <= CpuTargetPercent));
        std::printf("ROW Interval-end lateness, idle (%zu ends)|median %.3f ms, p99 %.3f ms, max "
                    "%.3f ms|p99 <= %.0f ms, max <= %.0f ms|%s\n",
                    lateMs.size(), percentile(lateMs, 50.0), lateP99, lateMax, LateP99TargetMs,
                    LateMaxTargetMs,
                    verdict(lateP99 <= LateP99TargetMs && lateMax <= LateMaxTargetMs));
    } else {
        std::printf("ROW Interval-end lateness, %s (%zu ends)|median %.3f ms, p99 %.3f ms, max "
                    "%.3f ms|none (reported)|-\n",
                    qPrintable(load), lateMs.size(), percentile(lateMs, 50.0), lateP99, lateMax);
    }
    std::printf("   the same to the handler's end (the last end of each run stores the record):\n"
                "     max %.3f ms, p99 %.3f ms, median %.3f ms\n",
                percentile(doneMs, 100.0), percentile(doneMs, 99.0), percentile(doneMs, 50.0));
    return true;
}

// The way runs were timed before: between its checks of the clock the loop
// lets pending events through and never sleeps, so it holds a core for the
// whole run whatever the person does.
void MeasureBusyPoll(double seconds)
{
    const std::int64_t wallFrom = steadyNs();
    const std::int64_t cpuFrom = cpuUs();
    const auto until = wallFrom + static_cast<std::int64_t>(seconds * 1e9);
    while (Platform::GetClock().MonotonicNs() < until)
        QApplication::processEvents();
    const double share = 100.0 * double(cpuUs() - cpuFrom) * 1000.0 / double(steadyNs() - wallFrom);
    std::printf("c. A loop polling the clock between events for %.0f s: %.1f %% of one core\n",
                seconds, share);
    std::printf("ROW Busy-polling loop for comparison (the timing it replaced, %.0f s)|%.1f %% of "
                "one core|none (reference)|-\n",
                seconds, share);
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fputs("run_bench: no temporary folder\n", stderr);
        return EXIT_FAILURE;
    }
    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    MainFrame frame(Startup::HistoryPathIn(dir.path()));
    frame.Start();
    QApplication::processEvents();

    RunBench bench(frame, dialogs);
    bool ok = bench.Ready() && (options.keys == 0 || bench.MeasureKeyHandling(options.keys)) &&
              bench.MeasureRuns(options.runs, options.load);
    if (ok && options.busyPollSeconds > 0.0)
        MeasureBusyPoll(options.busyPollSeconds);
    if (!dialogs.MessageTexts().isEmpty())
        std::fprintf(stderr, "run_bench: the program said: %s\n",
                     qPrintable(dialogs.MessageTexts().join(QStringLiteral(" / "))));
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}

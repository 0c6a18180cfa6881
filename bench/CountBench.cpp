// Whether the program counts what a person types, measured on the real
// binary in a private X server with a window manager, the keys coming from
// xdotool through the X server's own input path. For each rate a fresh
// program runs one whole test while key presses go out at that rate; each
// release is timestamped around the xdotool call that sends it, the stored
// record is read back from the history file's bytes, and every stored
// interval count is held against the releases sent inside that interval's
// nominal window. A release within EdgeMs of an interval end may fall on
// either side, so each interval has a least and a most it may hold. The
// processor time the program took over the run is read from /proc as well.
// With --stopped-ends it runs instead one whole test on X11 and one on
// Wayland (headless sway, keys from wtype) in which the program is stopped
// across every interval end while releases are made just before it, and
// counts how many of those releases the program still counted in the
// interval in which they were made.
// A plain program rather than a test: it reports figures, and it needs an
// X server, a window manager and about half a minute per rate. The desktops,
// the keys and the program's copy are the end-to-end tests', from
// tests/support.
#include "ProgramCopy.h"
#include "ProgramOnWayland.h"
#include "ProgramOnX.h"
#include "StoppedEndsRun.h"
#include "StoredRecord.h"
#include "WaylandDesktop.h"
#include "WaylandKeys.h"
#include "XDesktop.h"
#include "XKeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::int64_t Ms = 1'000'000;
constexpr std::int64_t IntervalNs = 5000 * Ms;
constexpr int CountedIntervals = 4;
constexpr std::int64_t EdgeNs = 10 * Ms;
// Where in its wall-clock second the first release goes out: well before
// the half second, so the program rounds the start down to that second.
constexpr std::int64_t FirstPressNs = 280 * Ms;
constexpr std::int64_t LatestFirstNs = 450 * Ms;
// Presses go on this long after the run's end; none of them may count.
constexpr std::int64_t AfterRunNs = 1000 * Ms;
constexpr double CpuTargetPercent = 2.0;
const char *const PressKeys[] = {"a", "s", "d", "f", "j", "k", "l", "1", "2", "3"};

std::int64_t clockNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::int64_t monotonicNs()
{
    return clockNs(CLOCK_MONOTONIC);
}

void sleepUntilNs(std::int64_t when)
{
    const timespec until{time_t(when / 1'000'000'000), long(when % 1'000'000'000)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

// User plus system time of a process, from /proc/<pid>/stat.
std::optional<double> processCpuSeconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray stat = file.readAll();
    // The command name in parentheses may hold blanks; fields count from
    // after it, the third field there being the state.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    const double ticks = double(fields[11].toLongLong() + fields[12].toLongLong());
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

struct Release
{
    std::int64_t beforeNs = 0;
    std::int64_t afterNs = 0;
};

struct RunResult
{
    bool ok = false;
    std::array<std::int16_t, CountedIntervals> stored{};
    std::array<int, CountedIntervals> least{};
    std::array<int, CountedIntervals> most{};
    int sent = 0;
    int skipped = 0;
    double callMedianMs = 0.0;
    double callMaxMs = 0.0;
    double cpuPercent = -1.0;

    bool Right(int i) const
    {
        return stored[std::size_t(i)] >= least[std::size_t(i)] &&
               stored[std::size_t(i)] <= most[std::size_t(i)];
    }
    bool AllRight() const
    {
        bool right = ok;
        for (int i = 0; i < CountedIntervals; ++i)
            right = right && Right(i);
        return right;
    }
};

class CountBench
{
public:
    bool StartDisplay();
    RunResult Run(int rate);

private:
    bool Send(int index, std::vector<Release> &releases);
    void Fail(const char *what, ProgramCopy *program = nullptr);

    XDesktop m_desktop;
};

void CountBench::Fail(const char *what, ProgramCopy *program)
{
    std::fprintf(stderr, "count_bench: %s\n", what);
    const QString output = program != nullptr ? program->Output() : QString();
    if (!output.isEmpty())
        std::fprintf(stderr, "program said: %s\n", qPrintable(output));
}

bool CountBench::StartDisplay()
{
    const QString error = m_desktop.Start();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "count_bench: %s\n", qPrintable(error));
        return false;
    }
    std::printf("X server on display %s with openbox\n", qPrintable(m_desktop.Display()));
    return true;
}

bool CountBench::Send(int index, std::vector<Release> &releases)
{
    // Without a pause between press and release the key goes down and up at
    // once, so the release lies inside the span timed around the call.
    // Neighbouring presses use different keys, which Qt could otherwise
    // take for the keyboard repeating one.
    Release release;
    release.beforeNs = monotonicNs();
    if (!m_desktop.Xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("0"),
                            QLatin1String(PressKeys[std::size_t(index) % std::size(PressKeys)])}))
        return false;
    release.afterNs = monotonicNs();
    releases.push_back(release);
    return true;
}

RunResult CountBench::Run(int rate)
{
    RunResult result;
    // A copy of its own in a fresh folder starts from an empty history.
    ProgramCopy program(QStringLiteral(VELMORA_PROGRAM));
    ProgramOnX onX(m_desktop, program);
    if (!program.Error().isEmpty() || !onX.Start().isEmpty()) {
        Fail("the program did not start", &program);
        return result;
    }
    if (!onX.BeginTest(QStringLiteral("Bench")).isEmpty()) {
        Fail("Start did not arm the test window", &program);
        return result;
    }
    const std::int64_t periodNs = 1'000'000'000 / rate;
    std::vector<Release> releases;

    // The first release, early in a wall-clock second.
    const std::int64_t wall = clockNs(CLOCK_REALTIME);
    const std::int64_t intoSecond = wall % 1'000'000'000;
    const std::int64_t wait =
        (intoSecond < FirstPressNs - 20 * Ms ? 0 : 1'000'000'000) + FirstPressNs - intoSecond;
    sleepUntilNs(monotonicNs() + wait);
    const std::optional<double> cpuFrom = processCpuSeconds(program.ProcessId());
    if (!Send(0, releases)) {
        Fail("xdotool failed", &program);
        return result;
    }
    // Wall and monotonic clocks read together: the run's whole second on
    // the one becomes its nominal interval ends on the other.
    const std::int64_t wallAfter = clockNs(CLOCK_REALTIME);
    const std::int64_t monoAfter = monotonicNs();
    if (wallAfter % 1'000'000'000 > LatestFirstNs) {
        Fail("the first release went out too late in its second; the machine is too busy",
             &program);
        return result;
    }
    const std::int64_t startWall = wallAfter - wallAfter % 1'000'000'000;
    const std::int64_t firstEndNs = monoAfter + (startWall + IntervalNs - wallAfter);
    const std::int64_t runEndNs = firstEndNs + CountedIntervals * IntervalNs;

    std::optional<double> cpuTo;
    std::int64_t cpuToNs = 0;
    // The later presses keep to a grid whose points lie midway between
    // interval ends (every rate here divides an interval evenly), so a
    // count is exact whenever the xdotool call leaves the allowance clear
    // of the end; a press closer to the end could land either way.
    const std::int64_t gridFromNs = firstEndNs - IntervalNs + periodNs / 2;
    const std::int64_t firstNs = releases.front().beforeNs;
    const std::int64_t skip = (firstNs + periodNs / 2 - gridFromNs) / periodNs + 1;
    for (int i = 1;; ++i) {
        const std::int64_t due = gridFromNs + (skip + i - 1) * periodNs;
        if (due > runEndNs + AfterRunNs)
            break;
        if (!cpuTo && due > runEndNs) {
            cpuTo = processCpuSeconds(program.ProcessId());
            cpuToNs = monotonicNs();
        }
        // A press that cannot go out near its time is left out rather than
        // crowded against the next one.
        if (monotonicNs() > due + periodNs / 2) {
            ++result.skipped;
            continue;
        }
        sleepUntilNs(due);
        if (!Send(i, releases)) {
            Fail("xdotool failed", &program);
            return result;
        }
    }
    if (cpuFrom && cpuTo)
        result.cpuPercent =
            100.0 * (*cpuTo - *cpuFrom) / (double(cpuToNs - releases.front().beforeNs) / 1e9);

    program.WaitForRecords(1);
    const QByteArray history = program.History();
    program.Stop();
    if (history.size() != StoredRecord::Length) {
        Fail("the program did not store exactly one record", &program);
        return result;
    }
    result.stored = StoredRecord::Decode(history).counts;

    std::vector<double> callMs;
    for (const Release &release : releases) {
        callMs.push_back(double(release.afterNs - release.beforeNs) / 1e6);
        for (int i = 0; i < CountedIntervals; ++i) {
            const std::int64_t from = firstEndNs + i * IntervalNs;
            const std::int64_t to = from + IntervalNs;
            // Where the release may lie, widened by the allowance at the ends.
            const std::int64_t earliest = release.beforeNs - EdgeNs;
            const std::int64_t latest = release.afterNs + EdgeNs;
            if (earliest >= from && latest < to)
                ++result.least[std::size_t(i)];
            if (latest >= from && earliest < to)
                ++result.most[std::size_t(i)];
        }
    }
    result.sent = int(releases.size());
    result.callMedianMs = median(callMs);
    result.callMaxMs = *std::max_element(callMs.begin(), callMs.end());
    result.ok = true;
    return result;
}

// One whole test stopped across its ends, on a desktop started already;
// prints its row. False when the run could not be made or judged.
template <class Desktop, class OnDesktop, class Keys>
bool StoppedEnds(const char *platform, const Desktop &desktop)
{
    // A busy moment makes a key go out on the wrong side of an end; the
    // run is made again then, a few times at most.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        ProgramCopy program(QStringLiteral(VELMORA_PROGRAM));
        OnDesktop onDesktop(desktop, program);
        QString error = program.Error();
        if (error.isEmpty())
            error = onDesktop.Start();
        if (error.isEmpty())
            error = onDesktop.BeginTest(QStringLiteral("Bench"));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "count_bench: %s: %s\n", platform, qPrintable(error));
            return false;
        }
        Keys keys(desktop);
        StoppedEndsRun run(false);
        error = run.Play(keys, program.ProcessId());
        if (!error.isEmpty()) {
            std::fprintf(stderr, "count_bench: %s: %s\n", platform, qPrintable(error));
            return false;
        }
        const QString late = run.Late();
        if (!run.Played() || !late.isEmpty()) {
            std::printf("%s: keys went out late (%s); again\n", platform, qPrintable(late));
            continue;
        }
        program.WaitForRecords(1);
        const QByteArray history = program.History();
        program.Stop();
        if (history.size() != StoredRecord::Length) {
            std::fprintf(stderr, "count_bench: %s: the program did not store one record\n",
                         platform);
            return false;
        }
        const StoredRecord record = StoredRecord::Decode(history);
        const auto released = run.Released();
        int exact = 0;
        QStringList stored;
        QStringList made;
        for (int i = 0; i < StoppedEndsRun::CountedIntervals; ++i) {
            stored << QString::number(record.counts[std::size_t(i)]);
            made << QString::number(released[std::size_t(i)]);
            exact += record.counts[std::size_t(i)] == released[std::size_t(i)] ? 1 : 0;
        }
        std::printf("%s: %s\n", platform, qPrintable(run.Describe(record.counts)));
        std::printf("ROW Releases 20 ms before each interval end, program stopped across it "
                    "(%s)|stored %s, made %s: %d of 4 intervals exact, at least %d of %d "
                    "releases next to an end elsewhere|all in their interval|%s\n",
                    platform, qPrintable(stored.join(QLatin1Char(' '))),
                    qPrintable(made.join(QLatin1Char(' '))), exact, run.Misplaced(record.counts),
                    run.EdgeReleases(), run.Exact(record.counts) ? "met" : "MISSED");
        std::fflush(stdout);
        return run.Exact(record.counts);
    }
    std::printf("ROW Releases 20 ms before each interval end, program stopped across it "
                "(%s)|machine too busy to send the keys on time|all in their interval|-\n",
                platform);
    return false;
}

int StoppedEndsBench()
{
    bool allRight = true;
    {
        XDesktop desktop;
        const QString error = desktop.Start();
        if (!error.isEmpty()) {
            std::fprintf(stderr, "count_bench: %s\n", qPrintable(error));
            return EXIT_FAILURE;
        }
        allRight = StoppedEnds<XDesktop, ProgramOnX, XKeys>("X11, Xvfb", desktop) && allRight;
    }
    WaylandDesktop desktop;
    if (desktop.StartCompositor() != WaylandDesktop::Start::Ready) {
        std::printf("Wayland: not measured: %s\n", qPrintable(desktop.Problem()));
        std::printf("ROW Releases 20 ms before each interval end, program stopped across it "
                    "(Wayland)|not measured: no compositor|all in their interval|-\n");
        return allRight ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    // wtype's keys carry no time stamp: the program counts each where it
    // handles it, after taking in what was pending at the end.
    allRight = StoppedEnds<WaylandDesktop, ProgramOnWayland, WaylandKeys>(
                   "Wayland, sway, keys without time stamps", desktop) &&
               allRight;
    return allRight ? EXIT_SUCCESS : EXIT_FAILURE;
}

QString countText(const RunResult &result, int i)
{
    const int least = result.least[std::size_t(i)];
    const int most = result.most[std::size_t(i)];
    return least == most ? QString::number(least) : QStringLiteral("%1-%2").arg(least).arg(most);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--stopped-ends") == 0)
        return StoppedEndsBench();
    std::vector<int> rates = {5, 10, 15, 20};
    if (argc > 1) {
        rates.clear();
        for (int i = 1; i < argc; ++i)
            rates.push_back(std::atoi(argv[i]));
    }
    if (std::any_of(rates.begin(), rates.end(), [](int rate) { return rate <= 0; })) {
        std::puts("usage: count_bench [RATE...]\n"
                  "       count_bench --stopped-ends\n"
                  "  RATE: key presses a second for each whole run (default 5 10 15 20)\n"
                  "  --stopped-ends: one run on X11 and one on Wayland with the program stopped\n"
                  "    across each interval end and releases made 20 ms before it");
        return EXIT_FAILURE;
    }
    CountBench bench;
    if (!bench.StartDisplay())
        return EXIT_FAILURE;
    bool allRight = true;
    for (const int rate : rates) {
        const RunResult result = bench.Run(rate);
        allRight = allRight && result.AllRight();
        if (!result.ok) {
            std::printf("ROW Counts at %d presses/s|run failed|exact, +-1 within 10 ms of an "
                        "end|MISSED\n",
                        rate);
            continue;
        }
        QStringList stored;
        QStringList sent;
        int right = 0;
        for (int i = 0; i < CountedIntervals; ++i) {
            stored << QString::number(result.stored[std::size_t(i)]);
            sent << countText(result, i);
            right += result.Right(i) ? 1 : 0;
        }
        std::printf("%d presses/s: %d sent (%d left out), xdotool call median %.1f ms, max "
                    "%.1f ms; program CPU %.2f %% of one core\n",
                    rate, result.sent, result.skipped, result.callMedianMs, result.callMaxMs,
                    result.cpuPercent);
        std::printf("ROW Counts at %d presses/s (real program, Xvfb, openbox)|stored %s; sent %s "
                    "(%d of 4 right)|exact, +-1 within 10 ms of an end|%s\n",
                    rate, qPrintable(stored.join(QLatin1Char(' '))),
                    qPrintable(sent.join(QLatin1Char(' '))), right,
                    result.AllRight() ? "met" : "MISSED");
        if (rate == 10 && result.cpuPercent >= 0.0)
            std::printf("ROW CPU share of a run at 10 presses/s (real program, Xvfb)|%.2f %% of "
                        "one core|<= %.0f %%|%s\n",
                        result.cpuPercent, CpuTargetPercent,
                        result.cpuPercent <= CpuTargetPercent ? "met" : "MISSED");
        std::fflush(stdout);
    }
    return allRight ? EXIT_SUCCESS : EXIT_FAILURE;
}

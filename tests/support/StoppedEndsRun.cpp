#include "StoppedEndsRun.h"

#include "Processes.h"

#include <QStringList>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <vector>

#include <sys/types.h>

namespace {

// Per interval: the taps well inside it, the releases made just before its
// end, and the release made just after it (when asked for). The numbers
// differ from one end to the next, so a program that moves the releases at
// every end by one interval stores other counts than the releases made.
struct Interval
{
    int taps;
    int before;
    int after;
    // How long after the end the program goes on.
    qint64 stoppedPastMs;
};
constexpr Interval Intervals[] = {
    {2, 1, 0, 40}, {3, 2, 1, 90}, {2, 1, 0, 160}, {3, 2, 1, 240}, {2, 1, 1, 120},
};
static_assert(std::size(Intervals) == StoppedEndsRun::CountedIntervals + 1);

constexpr qint64 FirstPressMs = 280;
// The program rounds the clock it reads as the first release comes through
// to the nearest second: a first release read before the half second
// starts the run in its own second.
constexpr qint64 LatestFirstMs = 400;
constexpr qint64 TapsFromMs = 1200;
constexpr qint64 TapEveryMs = 600;
// The program is stopped this long before the call that makes the releases
// before an end starts, and they go out as long before it as the keys have been taking to
// reach the program (at least this, at most that), so they are made about
// EdgeMs before the end.
constexpr qint64 StopBeforeKeysMs = 25;
constexpr qint64 LeastKeyTimeMs = 10;
constexpr qint64 MostKeyTimeMs = 250;
// A release next to an end must be made on its side of it by this much:
// the program's clock and this one agree to well within it.
constexpr qint64 MarginMs = 3;
const char *const TapKeys[] = {"a", "s", "d", "f", "j", "k", "l"};
const char *const EdgeKeys[] = {"1", "2"};

bool signal(qint64 processId, int number)
{
    return ::kill(pid_t(processId), number) == 0;
}

} // namespace

QString StoppedEndsRun::Play(HeldKeyRun::Keys &keys, qint64 processId)
{
    m_releases.clear();
    m_played = false;
    const qint64 now = Processes::NowMs();
    const qint64 firstDue =
        now - now % 1000 + (now % 1000 <= FirstPressMs - 20 ? 0 : 1000) + FirstPressMs;
    const auto first = keys.Tap(firstDue, QStringLiteral("z"));
    if (!first)
        return QStringLiteral("the first tap could not be sent");
    m_first = *first;
    m_startMs = m_first.earliestMs - m_first.earliestMs % 1000;
    if (!Late().isEmpty())
        return {};
    // How long the slowest key so far took to go out, within bounds.
    qint64 keyTimeMs = LeastKeyTimeMs;
    const auto noteKeyTime = [&keyTimeMs](qint64 tookMs) {
        keyTimeMs = std::min(std::max(keyTimeMs, tookMs), MostKeyTimeMs);
    };
    noteKeyTime(first->latestMs - firstDue);
    const auto tapAt = [&](qint64 dueMs, const QString &key) {
        const auto tapped = keys.Tap(dueMs, key);
        if (tapped)
            noteKeyTime(tapped->latestMs - dueMs);
        return tapped;
    };

    for (qint64 interval = 0; interval < qint64(std::size(Intervals)); ++interval) {
        const Interval &plan = Intervals[interval];
        const qint64 from = m_startMs + interval * IntervalMs;
        for (int tap = 0; tap < plan.taps; ++tap) {
            const QString key = QLatin1String(TapKeys[tap % std::size(TapKeys)]);
            const auto tapped = tapAt(from + TapsFromMs + tap * TapEveryMs, key);
            if (!tapped)
                return QStringLiteral("%1 could not be tapped").arg(key);
            m_releases.append({QStringLiteral("tap of %1").arg(key), interval, from + 500,
                               from + IntervalMs - 500, *tapped});
        }

        const qint64 end = from + IntervalMs;
        const qint64 beforeDue = end - EdgeMs - keyTimeMs;
        Processes::SleepUntilMs(beforeDue - keys.LeadMs() - StopBeforeKeysMs);
        const qint64 stoppedMs = Processes::NowMs();
        if (!signal(processId, SIGSTOP))
            return QStringLiteral("the program could not be stopped");
        QStringList beforeKeys;
        for (int i = 0; i < plan.before; ++i)
            beforeKeys << QLatin1String(EdgeKeys[i]);
        const auto before = keys.Taps(beforeDue, beforeKeys);
        std::optional<HeldKeyRun::Span> after;
        if (before && m_releasesAfterEnds && plan.after > 0)
            after = keys.Tap(end + EdgeMs, QStringLiteral("0"));
        // Going on however the keys went, so a failure leaves no program
        // stopped behind.
        Processes::SleepUntilMs(
            std::max(end + plan.stoppedPastMs, (after ? after->latestMs : Processes::NowMs()) + 5));
        const qint64 continuedMs = Processes::NowMs();
        if (!signal(processId, SIGCONT))
            return QStringLiteral("the program could not be continued");
        if (!before || (m_releasesAfterEnds && plan.after > 0 && !after))
            return QStringLiteral("the keys at end %1 could not be sent").arg(interval);
        for (const QString &key : beforeKeys)
            m_releases.append({QStringLiteral("%1 before end %2").arg(key).arg(interval), interval,
                               stoppedMs, end - MarginMs, *before});
        if (after)
            m_releases.append({QStringLiteral("0 after end %1").arg(interval), interval + 1,
                               end + MarginMs, continuedMs, *after});
    }
    m_played = true;
    return {};
}

std::array<int, StoppedEndsRun::CountedIntervals> StoppedEndsRun::Released() const
{
    std::array<int, CountedIntervals> released{};
    for (std::size_t k = 1; k < std::size(Intervals); ++k)
        released[k - 1] = Intervals[k].taps + Intervals[k].before +
                          (m_releasesAfterEnds ? Intervals[k - 1].after : 0);
    return released;
}

bool StoppedEndsRun::Exact(const Counts &stored) const
{
    const auto released = Released();
    return std::equal(released.begin(), released.end(), stored.begin());
}

int StoppedEndsRun::EdgeReleases() const
{
    int edge = 0;
    for (const Interval &plan : Intervals)
        edge += plan.before + (m_releasesAfterEnds ? plan.after : 0);
    return edge;
}

int StoppedEndsRun::Misplaced(const Counts &stored) const
{
    // Releases moved across end j, from interval j to j + 1, number f(j)
    // (negative: moved back); stored(k) = released(k) + f(k - 1) - f(k)
    // fixes every f from f(0) on, and the fewest moves take f(0) at the
    // median of the running sums of the differences.
    const auto released = Released();
    std::vector<int> sums{0};
    for (int k = 0; k < CountedIntervals; ++k)
        sums.push_back(sums.back() + stored[std::size_t(k)] - released[std::size_t(k)]);
    std::vector<int> sorted = sums;
    std::nth_element(sorted.begin(), sorted.begin() + qsizetype(sorted.size() / 2), sorted.end());
    const int median = sorted[sorted.size() / 2];
    int moved = 0;
    for (const int sum : sums)
        moved += std::abs(median - sum);
    return moved;
}

QString StoppedEndsRun::Late() const
{
    QStringList late;
    const qint64 firstFrom = m_first.earliestMs - m_startMs;
    const qint64 firstTo = m_first.latestMs + HeldKeyRun::ReadingMs - m_startMs;
    if (firstFrom >= LatestFirstMs || firstTo >= 500)
        late << QStringLiteral("the first tap at %1..%2 ms into its second")
                    .arg(firstFrom)
                    .arg(firstTo);
    for (const Release &release : m_releases) {
        if (release.span.earliestMs < release.fromMs || release.span.latestMs > release.toMs)
            late << QStringLiteral("%1 at %2..%3 ms, not within %4..%5")
                        .arg(release.what)
                        .arg(release.span.earliestMs - m_startMs)
                        .arg(release.span.latestMs - m_startMs)
                        .arg(release.fromMs - m_startMs)
                        .arg(release.toMs - m_startMs);
    }
    return late.join(QStringLiteral("; "));
}

QString StoppedEndsRun::Describe(const Counts &stored) const
{
    const auto released = Released();
    return QStringLiteral("stored %1 %2 %3 %4, released %5 %6 %7 %8; at least %9 of the %10 "
                          "releases next to an end counted elsewhere")
        .arg(stored[0])
        .arg(stored[1])
        .arg(stored[2])
        .arg(stored[3])
        .arg(released[0])
        .arg(released[1])
        .arg(released[2])
        .arg(released[3])
        .arg(Misplaced(stored))
        .arg(EdgeReleases());
}

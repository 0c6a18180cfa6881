#include "HeldKeyRun.h"

#include "Processes.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <set>

namespace {

struct Holding
{
    const char *key;
    qint64 holdMs;
    int taps;
};
// Interval by interval: how long the key is held and how many quick taps
// follow its release.
constexpr Holding Holdings[] = {
    {"q", 2500, 1}, {"w", 3000, 0}, {"e", 2000, 3}, {"r", 2500, 1}, {"t", 2200, 2},
};
constexpr qint64 HoldFromMs = 600;
constexpr qint64 TapEveryMs = 400;
const char *const TapKeys[] = {"a", "s", "d", "f", "j", "k", "l", "1", "2", "3"};

// Where in its second the first tap goes out, and how late in it that tap
// may go out: early, so the program rounds its start down to that second,
// or at worst up to the next.
constexpr qint64 FirstPressMs = 280;
constexpr qint64 LatestFirstMs = 400;
// The program may start its timing up to a second later than the second
// the first tap went out in (it rounds a clock it reads once the tap has
// come through); a release is sure of its interval only from this long
// into it to ReadingMs before its end.
constexpr qint64 StartSlackMs = 1000;

constexpr bool EveryReleaseInside()
{
    for (const Holding &holding : Holdings) {
        const qint64 last = HoldFromMs + holding.holdMs + holding.taps * TapEveryMs;
        if (HoldFromMs + holding.holdMs < StartSlackMs ||
            last + HeldKeyRun::ReadingMs >= HeldKeyRun::IntervalMs - 500)
            return false;
    }
    return true;
}
static_assert(EveryReleaseInside(),
              "every release must lie well inside its interval, whichever second the run starts");
static_assert(std::size(Holdings) == HeldKeyRun::CountedIntervals + 1);

qint64 floorDivide(qint64 value, qint64 by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

} // namespace

QString HeldKeyRun::Play(Keys &keys)
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
    // The program cannot read the clock before the tap went out.
    m_startMs = m_first.earliestMs - m_first.earliestMs % 1000;
    if (!Late().isEmpty())
        return {};

    for (qint64 interval = 0; interval < qint64(std::size(Holdings)); ++interval) {
        const Holding &holding = Holdings[interval];
        const QString key = QLatin1String(holding.key);
        const qint64 from = m_startMs + interval * IntervalMs;
        qint64 at = from + HoldFromMs;
        const auto held = keys.Hold(at, key, holding.holdMs);
        if (!held)
            return QStringLiteral("%1 could not be held").arg(key);
        m_releases.append({QStringLiteral("release of held %1").arg(key), interval, *held});
        at += holding.holdMs;
        for (int tap = 0; tap < holding.taps; ++tap) {
            at += TapEveryMs;
            const QString tapKey = QLatin1String(TapKeys[tap % std::size(TapKeys)]);
            const auto tapped = keys.Tap(at, tapKey);
            if (!tapped)
                return QStringLiteral("%1 could not be tapped").arg(tapKey);
            m_releases.append({QStringLiteral("tap of %1").arg(tapKey), interval, *tapped});
        }
    }
    m_played = true;
    return {};
}

std::array<int, HeldKeyRun::CountedIntervals> HeldKeyRun::Released() const
{
    std::array<int, CountedIntervals> released{};
    for (const Release &release : m_releases)
        if (release.interval >= 1 && release.interval <= CountedIntervals)
            ++released[std::size_t(release.interval - 1)];
    return released;
}

std::pair<qint64, qint64> HeldKeyRun::PossibleIntervals(const Span &span) const
{
    return {floorDivide(span.earliestMs - m_startMs - StartSlackMs, IntervalMs),
            floorDivide(span.latestMs + ReadingMs - m_startMs, IntervalMs)};
}

std::optional<QString> HeldKeyRun::Misplaced(const Release &release) const
{
    const auto [earliest, latest] = PossibleIntervals(release.span);
    if (earliest == release.interval && latest == release.interval)
        return std::nullopt;
    const qint64 from = m_startMs + release.interval * IntervalMs;
    return QStringLiteral("%1 at %2..%3 ms into interval %4")
        .arg(release.what)
        .arg(release.span.earliestMs - from)
        .arg(release.span.latestMs + ReadingMs - from)
        .arg(release.interval);
}

QString HeldKeyRun::WrongCounts(const std::array<std::int16_t, CountedIntervals> &stored) const
{
    // Each release lies in exactly one interval: the stored counts are
    // explained when some choice of one possible interval per release
    // makes them, every count at once. Only late releases have a choice,
    // so the search is short; a state met before is not searched again.
    std::array<int, CountedIntervals> left{};
    for (std::size_t i = 0; i < left.size(); ++i)
        left[i] = stored[i];
    std::set<std::pair<qsizetype, std::array<int, CountedIntervals>>> seen;
    const std::function<bool(qsizetype)> place = [&](qsizetype next) {
        if (next == m_releases.size())
            return std::all_of(left.begin(), left.end(), [](int count) { return count == 0; });
        if (!seen.insert({next, left}).second)
            return false;
        const auto [earliest, latest] = PossibleIntervals(m_releases[next].span);
        for (qint64 interval = earliest; interval <= latest; ++interval) {
            const bool counted = interval >= 1 && interval <= CountedIntervals;
            int *count = counted ? &left[std::size_t(interval - 1)] : nullptr;
            if (count != nullptr && *count == 0)
                continue;
            if (count != nullptr)
                --*count;
            const bool explained = place(next + 1);
            if (count != nullptr)
                ++*count;
            if (explained)
                return true;
        }
        return false;
    };
    return place(0) ? QString() : Describe(stored);
}

QString HeldKeyRun::Late() const
{
    QStringList late;
    const qint64 firstFrom = m_first.earliestMs - m_startMs;
    const qint64 firstTo = m_first.latestMs + ReadingMs - m_startMs;
    if (firstFrom >= LatestFirstMs || firstTo >= StartSlackMs + 500)
        late << QStringLiteral("the first tap at %1..%2 ms into its second")
                    .arg(firstFrom)
                    .arg(firstTo);
    for (const Release &release : m_releases)
        if (const auto misplaced = Misplaced(release))
            late << *misplaced;
    return late.join(QStringLiteral("; "));
}

QString HeldKeyRun::Describe(const std::array<std::int16_t, CountedIntervals> &stored) const
{
    const auto released = Released();
    return QStringLiteral("stored %1 %2 %3 %4, released %5 %6 %7 %8")
        .arg(stored[0])
        .arg(stored[1])
        .arg(stored[2])
        .arg(stored[3])
        .arg(released[0])
        .arg(released[1])
        .arg(released[2])
        .arg(released[3]);
}

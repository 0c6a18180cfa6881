#pragma once

#include "HeldKeyRun.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// A whole test run across whose every interval end the program is stopped
// (SIGSTOP, then SIGCONT), as a busy machine or a paused process holds it
// up, while the person goes on pressing keys: one or two releases made
// about 20 ms before each end and, where asked for, one about 20 ms after
// it, all while the program cannot handle them; the program goes on 40 to
// 240 ms after the end (later when the keys were slow to go out). A few
// taps well inside each interval fill it. Each release belongs to the
// interval in which it was made, so the stored counts must be exactly the
// releases made in each interval; the numbers next to the ends differ from
// end to end, so releases moved across every end change the counts. The
// run is the same on every desktop; only how keys are sent differs.
class StoppedEndsRun
{
public:
    static constexpr int CountedIntervals = HeldKeyRun::CountedIntervals;
    static constexpr qint64 IntervalMs = HeldKeyRun::IntervalMs;
    // How far before an end its releases are made, and after it the one
    // after it.
    static constexpr qint64 EdgeMs = 20;

    using Counts = std::array<std::int16_t, CountedIntervals>;

    explicit StoppedEndsRun(bool releasesAfterEnds) : m_releasesAfterEnds(releasesAfterEnds) {}

    // Sends the run to the program with this process id, stopping and
    // continuing it around each end; it is left running. Stops after the
    // first tap when that went out too late in its second (Played() is
    // false then). Returns an empty text, or what failed.
    QString Play(HeldKeyRun::Keys &keys, qint64 processId);
    bool Played() const { return m_played; }

    // The releases made in each counted interval, as scheduled.
    std::array<int, CountedIntervals> Released() const;
    bool Exact(const Counts &stored) const;
    // The releases made next to an end, before or after it.
    int EdgeReleases() const;
    // The fewest releases that must have been counted in an interval other
    // than their own (or not at all, or after the run) for the program to
    // store these counts. Counts alone cannot show every misplacement: one
    // release moved across every end leaves them all as they were.
    int Misplaced(const Counts &stored) const;
    // Empty when every release went out on its side of its end; else which
    // did not.
    QString Late() const;
    QString Describe(const Counts &stored) const;

private:
    struct Release
    {
        QString what;
        qint64 interval = 0;
        // Releases made next to an end must lie between these, ms after
        // the run's start.
        qint64 fromMs = 0;
        qint64 toMs = 0;
        HeldKeyRun::Span span;
    };

    bool m_releasesAfterEnds = false;
    bool m_played = false;
    qint64 m_startMs = 0;
    HeldKeyRun::Span m_first;
    QList<Release> m_releases;
};

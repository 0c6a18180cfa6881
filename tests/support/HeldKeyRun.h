#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// A whole test run with keys held down for seconds, the way a person leans
// on a key, and quick taps after each release: every interval holds one key
// for 2 to 3 seconds and then taps a few others, all of it well inside the
// interval. Held that long, a key is repeated many times over by the
// keyboard (the X server, or the Wayland client itself); none of the
// repeats may count, so the stored counts must be the releases made,
// exactly. The run is the same on every desktop; only how keys are sent
// differs. Each release is timed around the call that sent it; one that
// went out too late to be sure of its interval makes the run inconclusive
// rather than wrong, while a stored count no placement of the releases can
// explain is wrong whatever else happened.
class HeldKeyRun
{
public:
    static constexpr int CountedIntervals = 4;
    static constexpr qint64 IntervalMs = 5000;
    // How long after a release was sent the program may still be reading it.
    static constexpr qint64 ReadingMs = 50;

    // When a release may have happened on the wall clock: no earlier than
    // earliestMs and no later than latestMs.
    struct Span
    {
        qint64 earliestMs = 0;
        qint64 latestMs = 0;
    };

    // How keys reach the program on one desktop. Each call waits for its
    // due time, sends, and says when the release may have happened; no
    // value when the tool failed.
    class Keys
    {
    public:
        virtual ~Keys() = default;
        // Presses and releases the keys one after another, at once, in one
        // call; the span holds every release.
        virtual std::optional<Span> Taps(qint64 dueMs, const QStringList &keys) = 0;
        // Presses the key at dueMs and releases it holdMs later.
        virtual std::optional<Span> Hold(qint64 dueMs, const QString &key, qint64 holdMs) = 0;
        std::optional<Span> Tap(qint64 dueMs, const QString &key) { return Taps(dueMs, {key}); }
        // How long before its due time a call starts.
        virtual qint64 LeadMs() const { return 0; }
    };

    // Sends the run: a first tap early in a second starts it, then each
    // interval's hold and taps. Stops after the first tap when that went out
    // too late in its second (Played() is false then). Returns an empty text,
    // or which key could not be sent.
    QString Play(Keys &keys);
    bool Played() const { return m_played; }

    // The releases made in each counted interval, as scheduled.
    std::array<int, CountedIntervals> Released() const;
    // Empty when the stored counts can be explained by where the releases
    // may have fallen, each in one interval; else the stored and released
    // counts.
    QString WrongCounts(const std::array<std::int16_t, CountedIntervals> &stored) const;
    // Empty when every key went out where it had to for exact counts; else
    // which presses went out late.
    QString Late() const;
    QString Describe(const std::array<std::int16_t, CountedIntervals> &stored) const;

private:
    struct Release
    {
        QString what;
        qint64 interval = 0;
        Span span;
    };
    // The intervals, counted from the run's start, a release may lie in.
    std::pair<qint64, qint64> PossibleIntervals(const Span &span) const;
    std::optional<QString> Misplaced(const Release &release) const;

    qint64 m_startMs = 0;
    Span m_first;
    bool m_played = false;
    QList<Release> m_releases;
};

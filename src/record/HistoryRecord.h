#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The counts of a run's five intervals: [0] is the warm-up interval, which
// is never stored; [1..4] are the counts c1..c4 that are stored and
// evaluated.
using IntervalCounts = std::array<std::int16_t, 5>;

// One test as it lives in memory and in the history file. The file image is a
// fixed 80-byte block (name, date, time, CMF, four counts, zero filler) that
// other tools and older files rely on, so it is encoded field by field in
// little-endian order and never by copying the struct's memory.
struct HistoryRecord
{
    static constexpr int NameLength = 20;
    static constexpr int RecordLength = 80;
    static constexpr int FillerOffset = 46;

    // Always exactly NameLength characters; assign through SetName().
    QString RecName = QString(NameLength, QLatin1Char(' '));
    double RecDate = 0.0;
    double RecTime = 0.0;
    std::int16_t RecCMF = 0;
    // RecCounts[0..3] hold the stored counts c1..c4.
    std::array<std::int16_t, 4> RecCounts{};

    // Sets the name as it will be stored and read back (FitName).
    void SetName(const QString &text);
    // The 20 bytes a name is stored as, in code page 1251: normalised to
    // composed form, each control character a blank, each character the
    // page lacks as the letter it is built on (ë as e, Ç as C) or else
    // '?', cut after 20 characters and padded with blanks.
    static QByteArray StoredName(const QString &text);
    // The name as it reads back from the file: StoredName decoded.
    static QString FitName(const QString &text);
    // Whether a name is kept whole: no more characters, as a person sees
    // them, than NameLength.
    static bool NameFits(const QString &text);
    // The name as it will be stored, without the padding; the text itself
    // where it is stored as it was typed.
    static QString StoredForm(const QString &text);

    QByteArray Encode() const;
    // Fails only when fewer than RecordLength bytes are given.
    static std::optional<HistoryRecord> Decode(const char *data, qsizetype size);

    friend bool operator==(const HistoryRecord &, const HistoryRecord &) = default;
};

#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

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

    // Cuts longer text to 20 characters and pads shorter text with blanks.
    void SetName(const QString &text);
    static QString FitName(const QString &text);

    QByteArray Encode() const;
    // Fails only when fewer than RecordLength bytes are given.
    static std::optional<HistoryRecord> Decode(const char *data, qsizetype size);

    friend bool operator==(const HistoryRecord &, const HistoryRecord &) = default;
};

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

#include <array>
#include <cstdint>

// A record of the history file as a reader of the file sees it, decoded
// straight from the file's 80-byte layout and not through the program's own
// decoder, so a fault in the program's encoding cannot cancel out in a test.
struct StoredRecord
{
    static constexpr int Length = 80;
    static constexpr int NameLength = 20;
    static constexpr int FillerOffset = 46;
    static constexpr int Counts = 4;

    QByteArray name;
    QDateTime when;
    std::int16_t cmf = 0;
    std::array<std::int16_t, Counts> counts{};
    QByteArray filler;

    // bytes holds at least Length bytes.
    static StoredRecord Decode(const QByteArray &bytes);
    // Every whole record of a history file, in order.
    static QList<StoredRecord> DecodeAll(const QByteArray &history);
};

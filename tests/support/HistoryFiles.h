#pragma once

#include "record/HistoryRecord.h"

#include <QFile>
#include <QList>

// Real history files for tests: records as the program stores them, their
// bytes, and whole files written and read back.
namespace HistoryFiles {

constexpr double Dec7 = 37597.0; // 7 December 2002

inline HistoryRecord record(const QString &name, double date, double time, std::int16_t cmf,
                            std::array<std::int16_t, 4> counts)
{
    return {HistoryRecord::FitName(name), date, time, cmf, counts};
}

// count tests of as many people (Person 1 on, one a day from 7 December,
// the CMF counting up from 0): no two lines of their list are alike, so a
// line lost, repeated or out of order shows.
inline QList<HistoryRecord> people(int count)
{
    QList<HistoryRecord> records;
    for (int i = 0; i < count; ++i)
        records.append(record(QStringLiteral("Person %1").arg(i + 1), Dec7 + i, 0.5,
                              std::int16_t(i % 101), {40, 38, 36, 35}));
    return records;
}

inline QByteArray bytesOf(const QList<HistoryRecord> &records)
{
    QByteArray bytes;
    for (const HistoryRecord &r : records)
        bytes += r.Encode();
    return bytes;
}

inline bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace HistoryFiles

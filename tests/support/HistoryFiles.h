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

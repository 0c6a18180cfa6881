#include "StoredRecord.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

StoredRecord StoredRecord::Decode(const QByteArray &bytes)
{
    StoredRecord record;
    const char *data = bytes.constData();
    record.name = bytes.left(NameLength);
    const auto doubleAt = [data](int offset) {
        const auto bits = qFromLittleEndian<quint64>(data + offset);
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    // Days since 30 December 1899 and the fraction of a day.
    const double date = doubleAt(20);
    const double time = doubleAt(28);
    record.when = QDateTime(QDate(1899, 12, 30).addDays(qint64(std::floor(date))),
                            QTime(0, 0).addSecs(int(std::lround(time * 86400.0))));
    record.cmf = qFromLittleEndian<std::int16_t>(data + 36);
    for (int i = 0; i < Counts; ++i)
        record.counts[std::size_t(i)] = qFromLittleEndian<std::int16_t>(data + 38 + 2 * i);
    record.filler = bytes.mid(FillerOffset, Length - FillerOffset);
    return record;
}

QList<StoredRecord> StoredRecord::DecodeAll(const QByteArray &history)
{
    QList<StoredRecord> records;
    for (qsizetype at = 0; at + Length <= history.size(); at += Length)
        records.append(Decode(history.mid(at, Length)));
    return records;
}

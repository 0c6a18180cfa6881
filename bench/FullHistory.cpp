#include "FullHistory.h"

#include "history/HistoryStore.h"
#include "record/Evaluation.h"
#include "record/HistoryRecord.h"
#include "record/OleDate.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QTime>

#include <cstdint>

bool FullHistory::Write(const QString &path, const std::function<QString(int)> &nameOf)
{
    QByteArray all;
    all.reserve(HistoryStore::MaxRecords * HistoryRecord::RecordLength);
    for (int i = 0; i < HistoryStore::MaxRecords; ++i) {
        HistoryRecord record;
        record.SetName(nameOf(i));
        record.RecDate = OleDate::FromDate(QDate(1998, 1, 1).addDays(i / 5));
        record.RecTime = OleDate::FromTime(QTime(0, 0).addSecs((i * 7919) % 86400));
        const auto c1 = static_cast<std::int16_t>(25 + i % 40);
        const auto c4 = static_cast<std::int16_t>(c1 - i % 9 + 2);
        record.RecCounts = {c1, static_cast<std::int16_t>(c1 - 1),
                            static_cast<std::int16_t>(c1 - 2), c4};
        record.RecCMF = Evaluation::CalcCMF(c1, c4).value_or(0);
        all.append(record.Encode());
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(all) == all.size();
}

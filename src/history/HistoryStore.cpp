#include "HistoryStore.h"

#include "HistoryFile.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "record/Evaluation.h"
#include "record/OleDate.h"

#include <QFileInfo>

namespace {

constexpr qint64 BlockRecords = 1024;

} // namespace

std::optional<qint64> HistoryStore::Append(const QString &path, HistoryRecord &record,
                                           const IntervalCounts &counts)
{
    if (const auto recNo = Write(path, record, counts))
        return recNo;
    Platform::GetDialogs().MsgBox(Dialogs::Notice(NoDataMessage()));
    return std::nullopt;
}

bool HistoryStore::Complete(HistoryRecord &record, const IntervalCounts &counts)
{
    if (record.RecName.trimmed().isEmpty())
        record.SetName(QStringLiteral("No name"));
    const Clock::Reading now = Platform::GetClock().Now();
    record.RecDate = OleDate::FromDate(now.date);
    record.RecTime = OleDate::FromTime(now.time);
    for (std::size_t i = 0; i < record.RecCounts.size(); ++i)
        record.RecCounts[i] = counts[i + 1];
    const auto cmf = Evaluation::CalcCMF(counts[1], counts[4]);
    if (!cmf)
        return false;
    record.RecCMF = *cmf;
    return true;
}

std::optional<qint64> HistoryStore::Write(const QString &path, HistoryRecord &record,
                                          const IntervalCounts &counts)
{
    HistoryFile file(path);
    // From the length read below to the record on disk, no other copy of
    // the program may append: it would take the same record number.
    const bool open = file.OpenForAppend() && file.Lock();
    if (!Complete(record, counts) || !open)
        return std::nullopt;
    // A ragged end is what is left of a record whose writing was cut off
    // (by a crash, a power cut, another program). The new record goes in
    // its place, right after the last whole one, and covers all of it:
    // counted as a record of its own, padded out, it would list as a test
    // nobody made.
    const qint64 recNo = file.Size() / HistoryRecord::RecordLength + 1;
    if (recNo > MaxRecords || !file.WriteDurably(recNo, record))
        return std::nullopt;
    return recNo;
}

bool HistoryStore::ReadRecords(const QString &path, const RecordRead &use)
{
    HistoryFile file(path);
    bool ok = file.Open();
    qint64 recNo = 1;
    while (ok) {
        const std::optional<QByteArray> read = file.ReadBlock(recNo, BlockRecords);
        if (!read) {
            ok = false;
            break;
        }
        const QByteArray &block = *read;
        if (block.isEmpty())
            break;
        for (qsizetype at = 0; ok && at < block.size(); at += HistoryRecord::RecordLength) {
            if (recNo > MaxRecords) {
                ok = false;
                break;
            }
            ok = use(*HistoryRecord::Decode(block.constData() + at, HistoryRecord::RecordLength));
            ++recNo;
        }
    }
    return ok;
}

QString HistoryStore::FolderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

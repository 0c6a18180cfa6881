#include "HistoryStore.h"

#include "HistoryFile.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "record/Evaluation.h"
#include "record/OleDate.h"
#include "session/SessionState.h"

#include <QFileInfo>

namespace {

constexpr qint64 BlockRecords = 1024;

} // namespace

bool HistoryStore::AppendCurrentRecord(HistoryRecord &record, const IntervalCounts &counts)
{
    if (Append(record, counts))
        return true;
    Platform::GetDialogs().MsgBox(Dialogs::Notice(NoDataMessage()));
    return false;
}

bool HistoryStore::Append(HistoryRecord &record, const IntervalCounts &counts)
{
    HistoryFile file(Session().DataPath);
    // From the length read below to the record on disk, no other copy of
    // the program may append: it would take the same record number.
    if (!file.OpenForAppend() || !file.Lock())
        return false;
    if (record.RecName.trimmed().isEmpty())
        record.SetName(QStringLiteral("No name"));
    const Clock::Reading now = Platform::GetClock().Now();
    record.RecDate = OleDate::FromDate(now.date);
    record.RecTime = OleDate::FromTime(now.time);
    const auto cmf = Evaluation::CalcCMF(counts[1], counts[4]);
    if (!cmf)
        return false;
    record.RecCMF = *cmf;
    for (std::size_t i = 0; i < record.RecCounts.size(); ++i)
        record.RecCounts[i] = counts[i + 1];
    // A ragged end is what is left of a record whose writing was cut off
    // (by a crash, a power cut, another program). The new record goes in
    // its place, right after the last whole one, and covers all of it:
    // counted as a record of its own, padded out, it would list as a test
    // nobody made.
    const qint64 records = file.Size() / HistoryRecord::RecordLength;
    if (records + 1 > MaxRecords)
        return false;
    return file.WriteDurably(records + 1, record);
}

bool HistoryStore::EnumerateRecords(const RecordUse &use)
{
    SessionState &session = Session();
    session.RecNo = 1;
    qint64 recNo = 0;
    const bool ok = ReadRecords(session.DataPath, [&](const HistoryRecord &record) {
        session.RecNo = static_cast<std::int16_t>(++recNo);
        session.CurrentRecord = record;
        return use(session.CurrentRecord);
    });
    session.RecNo = 1;
    return ok;
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

QString HistoryStore::DataFolder()
{
    return QFileInfo(Session().DataPath).absolutePath();
}

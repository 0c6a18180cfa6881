#include "PersonTrend.h"

#include "history/HistoryFile.h"
#include "history/HistoryList.h"
#include "history/HistoryStore.h"
#include "platform/DateText.h"
#include "record/OleDate.h"

namespace {

// The same block size as the other readers of the whole file: large enough
// that a full history is a few dozen reads, small enough to stay cheap.
constexpr qint64 BlockRecords = 1024;

} // namespace

Evaluation::Results PersonTrend::Test::Results() const
{
    return Evaluation::ResultsVerdict(record.RecCMF);
}

Evaluation::Reliability PersonTrend::Test::Reliability() const
{
    return Evaluation::ReliabilityVerdict(c1(), c4(), record.RecCMF);
}

QDateTime PersonTrend::Test::When() const
{
    // Both were shown as text when the test was read, so both convert.
    const QDate day = OleDate::ToDate(record.RecDate).value_or(QDate());
    const QTime time = OleDate::ToTime(record.RecTime).value_or(QTime(0, 0));
    return QDateTime(day, time);
}

bool PersonTrend::SamePerson(QStringView stored, QStringView wanted)
{
    return stored.trimmed().compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

std::optional<QString> PersonTrend::NameAt(const QString &path, qint64 recNo)
{
    HistoryFile file(path);
    if (!file.Open())
        return std::nullopt;
    const auto record = file.Read(recNo);
    if (!record)
        return std::nullopt;
    return record->RecName;
}

PersonTrend::Reading PersonTrend::Read(const QString &path, const QString &name,
                                       const QLocale &locale)
{
    Reading reading;
    const QStringView wanted = QStringView(name).trimmed();
    DateText::Writer dates(locale);
    HistoryFile file(path);
    if (!file.Open()) {
        reading.complete = false;
        return reading;
    }
    qint64 recNo = 1;
    for (;;) {
        const std::optional<QByteArray> block = file.ReadBlock(recNo, BlockRecords);
        if (!block) {
            reading.complete = false;
            break;
        }
        if (block->isEmpty())
            break;
        for (qsizetype at = 0; at < block->size(); at += HistoryRecord::RecordLength, ++recNo) {
            // The list ends with its last possible line; so does the trend.
            if (recNo > HistoryStore::MaxRecords) {
                reading.complete = false;
                return reading;
            }
            HistoryRecord record =
                *HistoryRecord::Decode(block->constData() + at, HistoryRecord::RecordLength);
            record.RecCMF =
                Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeAndCap);
            // Every record is checked, whoever it belongs to: the trend
            // stops where the data window's list stops, so each test it
            // shows is a line there to select.
            const auto columns = HistoryList::ColumnsOf(record, dates);
            if (!columns) {
                reading.complete = false;
                return reading;
            }
            if (!SamePerson(record.RecName, wanted))
                continue;
            reading.tests.append(
                {recNo, std::move(record), columns->date.trimmed(), columns->time.trimmed()});
        }
    }
    return reading;
}

// Feeds arbitrary bytes to the program as its history file and reads it
// the way every window and command does: the list and export lines with
// their corrections, every record read on its own with the details the data
// window shows of it, the CSV. Besides the
// sanitizers' reports, a line that is produced must keep its fixed columns,
// whatever the file held, since the export's readers rely on them, and a
// CSV row must hold its ten fields on one line.
#include "ScriptedPlatform.h"
#include "history/HistoryCsv.h"
#include "history/HistoryList.h"
#include "history/RecordReader.h"
#include "platform/Platform.h"
#include "record/HistoryRecord.h"
#include "results/RecordDetails.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

struct Harness
{
    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    QString path;

    Harness()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        path = QDir::tempPath() +
               QStringLiteral("/velmora-fuzz-%1.dat").arg(QString::number(qint64(::getpid())));
    }
};

bool columnsHold(const QString &line)
{
    if (line.size() < 70)
        return false;
    return line.mid(20, 3) == QLatin1String(" * ") && line.mid(33, 3) == QLatin1String(" * ") &&
           line.mid(48, 4) == QLatin1String(" *  ") && line.mid(55, 3) == QLatin1String(" * ") &&
           line.mid(66, 3) == QLatin1String(" * ");
}

// Ten fields on one line: nine commas outside quotes, quotes paired.
bool csvRowHolds(QStringView row)
{
    int commas = 0;
    bool quoted = false;
    for (const QChar ch : row) {
        if (ch == QLatin1Char('"'))
            quoted = !quoted;
        else if (ch == QLatin1Char(',') && !quoted)
            ++commas;
        else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            return false;
    }
    return commas == 9 && !quoted;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Harness harness;
    {
        QFile file(harness.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    harness.dialogs.Clear();

    const auto records = qint64(size / HistoryRecord::RecordLength);
    for (qint64 recNo = 0; recNo <= records + 1; ++recNo) {
        // Record 0 and the one past the end do not exist and must say so.
        const bool exists = recNo >= 1 && recNo <= records;
        std::optional<HistoryRecord> record = RecordReader::Read(harness.path, recNo);
        if (record.has_value() != exists)
            std::abort();
        if (!exists)
            continue;
        if (record->RecName.size() != HistoryRecord::NameLength)
            std::abort();
        record->RecCMF =
            Evaluation::CorrectStoredCmf(record->RecCMF, Evaluation::StoredCmf::NegativeOnly);
        const RecordDetails details =
            RecordDetails::Of(*record, record->RecCounts[0], record->RecCounts[3]);
        if (details.cmf != QString::number(record->RecCMF))
            std::abort();
    }

    QStringList lines;
    HistoryList::ListHistory(harness.path, [&](const QString &line) {
        if (!columnsHold(line))
            std::abort();
        lines << line;
    });
    if (records < lines.size())
        std::abort();

    // The CSV has a row for every record the list shows.
    const HistoryCsv::Table table = HistoryCsv::Build(harness.path);
    if (!table.bytes.startsWith("\xEF\xBB\xBF") || !table.bytes.endsWith("\r\n"))
        std::abort();
    QStringList rows = QString::fromUtf8(table.bytes.sliced(3)).split(QStringLiteral("\r\n"));
    rows.removeLast();
    if (rows.takeFirst() != HistoryCsv::Header() || rows.size() < lines.size() ||
        rows.size() > records)
        std::abort();
    for (const QString &row : rows) {
        if (!csvRowHolds(row))
            std::abort();
    }
    return 0;
}

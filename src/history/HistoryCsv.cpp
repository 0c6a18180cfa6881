#include "HistoryCsv.h"

#include "HistoryList.h"
#include "HistoryStore.h"
#include "platform/DateText.h"
#include "record/Evaluation.h"
#include "record/OleDate.h"

namespace {

const QLatin1StringView LineEnd("\r\n");

QString withoutPadding(const QString &name)
{
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && name.at(last - 1) == QLatin1Char(' '))
        --last;
    return name.sliced(first, last - first);
}

} // namespace

QString HistoryCsv::Field(const QString &value)
{
    const bool quoted = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                        value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
    if (!quoted)
        return value;
    QString field = value;
    field.replace(QLatin1Char('"'), QLatin1StringView("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString HistoryCsv::TextField(const QString &value)
{
    // A spreadsheet takes a cell starting with one of these for a formula
    // (or, for the tab and CR, strips them and then finds one) and runs it:
    // a name such as =HYPERLINK(...) would run on the reader's machine. The
    // apostrophe makes it text there and is plain to see anywhere else.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!value.isEmpty() && formulaStarts.contains(value.front()))
        return Field(QLatin1Char('\'') + value);
    return Field(value);
}

QString HistoryCsv::NameField(const QString &storedName)
{
    return TextField(withoutPadding(HistoryList::ShownName(storedName)));
}

std::optional<QString> HistoryCsv::Row(const HistoryRecord &record, DateText::Writer &dates)
{
    // The rows end where the data window's list ends, so a record the list
    // calls damaged never reaches a spreadsheet half read.
    if (!HistoryList::Readable(record, dates))
        return std::nullopt;
    const auto date = OleDate::ToDate(record.RecDate);
    const auto time = OleDate::ToTime(record.RecTime);
    if (!date || !time)
        return std::nullopt;
    const std::int16_t cmf = HistoryList::Listed(record).RecCMF;
    const std::int16_t c1 = record.RecCounts[0];
    const std::int16_t c4 = record.RecCounts[3];
    // The words without the list's alignment blanks, in the English of the
    // results window whatever language it speaks.
    using Display = Evaluation::Display;
    const QString results = Evaluation::Present(Evaluation::ResultsVerdict(cmf), Display::Csv).text;
    const QString reliability =
        Evaluation::Present(Evaluation::ReliabilityVerdict(c1, c4, cmf), Display::Csv).text;
    const QChar comma(QLatin1Char(','));
    QString row = NameField(record.RecName);
    row += comma + date->toString(QStringLiteral("yyyy-MM-dd"));
    row += comma + time->toString(QStringLiteral("HH:mm:ss"));
    for (const std::int16_t count : record.RecCounts)
        row += comma + QString::number(count);
    row += comma + QString::number(cmf);
    row += comma + results + comma + reliability;
    return row;
}

HistoryCsv::Table HistoryCsv::Build(const QString &historyPath)
{
    Table table;
    QString text = Header() + LineEnd;
    DateText::Writer dates;
    table.complete = HistoryStore::ReadRecords(historyPath, [&](const HistoryRecord &record) {
        const auto row = Row(record, dates);
        if (!row)
            return false;
        text += *row;
        text += LineEnd;
        return true;
    });
    table.bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    return table;
}

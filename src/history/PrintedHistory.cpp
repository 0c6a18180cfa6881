#include "PrintedHistory.h"

#include "HistoryList.h"
#include "HistoryStore.h"
#include "platform/DateText.h"
#include "record/Evaluation.h"

namespace {

QString tabs(int count)
{
    return QString(count, QLatin1Char('\t'));
}

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString PrintedHistory::Leading()
{
    return QString(5, QLatin1Char('\n')) + tabs(3) + QStringLiteral("Recording") + tabs(3) +
           QStringLiteral("Date") + tabs(2) + QStringLiteral("Time") + tabs(2) +
           QStringLiteral("CMF") + tabs(1) + QStringLiteral("Results") + tabs(3) +
           QStringLiteral("Reliability") + CrLf + QLatin1Char('\n');
}

std::optional<QString> PrintedHistory::Build(const QString &path, const QLocale &locale)
{
    // Reading the locale's forms once, not per record, and building every
    // line in one buffer keeps a full history's table to one pass.
    DateText::Writer dates(locale);
    QString lines = Leading() + CrLf;
    const bool ok = HistoryStore::ReadRecords(path, [&](const HistoryRecord &stored) {
        HistoryRecord record = stored;
        record.RecCMF =
            Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeOnly);
        const std::int16_t c1 = record.RecCounts[0];
        const std::int16_t c4 = record.RecCounts[3];
        const auto columns = HistoryList::ColumnsOf(record, dates);
        if (!columns)
            return false;
        using Display = Evaluation::Display;
        const QString results =
            Evaluation::Present(Evaluation::ResultsVerdict(record.RecCMF), Display::PrintedTable)
                .text;
        const QString reliability =
            Evaluation::Present(Evaluation::ReliabilityVerdict(c1, c4, record.RecCMF),
                                Display::PrintedTable)
                .text;
        const auto appendTabs = [&lines](int count) {
            lines += QLatin1StringView("\t\t\t", count);
        };
        appendTabs(3);
        lines += columns->name;
        appendTabs(3);
        lines += columns->date;
        appendTabs(1);
        lines += columns->time;
        appendTabs(1);
        lines += columns->cmf;
        appendTabs(1);
        lines += results;
        appendTabs(2);
        lines += reliability;
        lines += CrLf;
        return true;
    });
    if (!ok)
        return std::nullopt;
    return lines;
}

#include "HistoryList.h"

#include "HistoryStore.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "results/Evaluation.h"
#include "session/SessionState.h"

std::optional<QString> HistoryList::Fit(const QString &value, int width)
{
    // Only blanks are stripped: any other character is part of the value.
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && value.at(last - 1) == QLatin1Char(' '))
        --last;
    if (last - first > width)
        return std::nullopt;
    return value.mid(first, last - first).leftJustified(width, QLatin1Char(' '));
}

std::optional<HistoryList::Columns> HistoryList::ColumnsOf(const HistoryRecord &record,
                                                           const QLocale &locale)
{
    const auto date = DateText::FromOle(record.RecDate, locale);
    const auto time = DateText::FromOle(record.RecTime, locale);
    if (!date || !time)
        return std::nullopt;
    auto name = Fit(record.RecName, NameWidth);
    auto dateColumn = Fit(*date, DateWidth);
    auto timeColumn = Fit(*time, TimeWidth);
    auto cmf = Fit(QString::number(record.RecCMF), CmfWidth);
    if (!name || !dateColumn || !timeColumn || !cmf)
        return std::nullopt;
    return Columns{*name, *dateColumn, *timeColumn, *cmf};
}

std::optional<QString> HistoryList::Line(const HistoryRecord &record, std::int16_t c1,
                                         std::int16_t c4, const QLocale &locale)
{
    const auto columns = ColumnsOf(record, locale);
    if (!columns)
        return std::nullopt;
    using Display = Evaluation::Display;
    const QString results =
        Evaluation::Present(Evaluation::ResultsVerdict(record.RecCMF), Display::HistoryLine).text;
    const QString reliability =
        Evaluation::Present(Evaluation::ReliabilityVerdict(c1, c4, record.RecCMF),
                            Display::HistoryLine)
            .text;
    const QString star = QStringLiteral(" * ");
    return columns->name + star + columns->date + star + columns->time + QStringLiteral(" *  ") +
           columns->cmf + star + results + star + reliability;
}

bool HistoryList::ListHistory(Mode mode, const std::function<void(const QString &)> &addLine)
{
    SessionState &session = Session();
    const QLocale locale;
    const bool ok = HistoryStore::EnumerateRecords([&](HistoryRecord &record) {
        for (std::size_t i = 0; i < record.RecCounts.size(); ++i)
            session.Counts[i + 1] = record.RecCounts[i];
        record.RecCMF =
            Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeAndCap);
        const auto line = Line(record, session.Counts[1], session.Counts[4], locale);
        if (!line)
            return false;
        if (mode == Mode::Export)
            session.ExportText += *line + QStringLiteral("\r\n");
        else if (addLine)
            addLine(*line);
        return true;
    });
    session.RecNo = 1;
    if (!ok)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(ErrorMessage()));
    return ok;
}

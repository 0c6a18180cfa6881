#include "HistoryList.h"

#include "HistoryFile.h"
#include "HistoryStore.h"
#include "platform/DateText.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "record/Evaluation.h"

#include <algorithm>

bool HistoryList::AppendFitted(QString &out, QStringView value, int width)
{
    // Only blanks are stripped: any other character is part of the value.
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && value.at(last - 1) == QLatin1Char(' '))
        --last;
    if (last - first > width)
        return false;
    out.append(value.sliced(first, last - first));
    out.resize(out.size() + width - (last - first), QLatin1Char(' '));
    return true;
}

QString HistoryList::ShownName(const QString &name)
{
    const auto control = [](QChar ch) {
        return ch.unicode() < 0x20;
    };
    if (std::none_of(name.cbegin(), name.cend(), control))
        return name;
    QString shown = name;
    std::replace_if(shown.begin(), shown.end(), control, QLatin1Char(' '));
    return shown;
}

std::optional<QString> HistoryList::Fit(const QString &value, int width)
{
    QString fitted;
    fitted.reserve(width);
    if (!AppendFitted(fitted, value, width))
        return std::nullopt;
    return fitted;
}

std::optional<HistoryList::Columns> HistoryList::ColumnsOf(const HistoryRecord &record,
                                                           const QLocale &locale)
{
    DateText::Writer dates(locale);
    return ColumnsOf(record, dates);
}

std::optional<HistoryList::Columns> HistoryList::ColumnsOf(const HistoryRecord &record,
                                                           DateText::Writer &dates)
{
    const auto date = dates.FromOle(record.RecDate);
    const auto time = dates.FromOle(record.RecTime);
    if (!date || !time)
        return std::nullopt;
    auto name = Fit(ShownName(record.RecName), NameWidth);
    auto dateColumn = Fit(*date, DateWidth);
    auto timeColumn = Fit(*time, TimeWidth);
    auto cmf = Fit(QString::number(record.RecCMF), CmfWidth);
    if (!name || !dateColumn || !timeColumn || !cmf)
        return std::nullopt;
    return Columns{*name, *dateColumn, *timeColumn, *cmf};
}

std::optional<QString> HistoryList::Line(const HistoryRecord &record, std::int16_t c1,
                                         std::int16_t c4, const QLocale &locale,
                                         Evaluation::Display verdicts)
{
    DateText::Writer dates(locale);
    return Line(record, c1, c4, dates, verdicts);
}

std::optional<QString> HistoryList::Line(const HistoryRecord &record, std::int16_t c1,
                                         std::int16_t c4, DateText::Writer &dates,
                                         Evaluation::Display verdicts)
{
    const auto columns = ColumnsOf(record, dates);
    if (!columns)
        return std::nullopt;
    const QString results =
        Evaluation::Present(Evaluation::ResultsVerdict(record.RecCMF), verdicts).text;
    const QString reliability =
        Evaluation::Present(Evaluation::ReliabilityVerdict(c1, c4, record.RecCMF), verdicts).text;
    const QLatin1StringView star(" * ");
    // Built in one buffer: a long history makes tens of thousands of lines.
    QString line;
    line.reserve(NameWidth + DateWidth + TimeWidth + CmfWidth + 40);
    line += columns->name;
    line += star;
    line += columns->date;
    line += star;
    line += columns->time;
    line += QLatin1StringView(" *  ");
    line += columns->cmf;
    line += star;
    line += results;
    line += star;
    line += reliability;
    return line;
}

std::optional<QString> HistoryList::FirstLine(const QString &path, const QLocale &locale)
{
    HistoryFile file(path);
    if (!file.Open())
        return std::nullopt;
    const auto stored = file.Read(1);
    if (!stored)
        return std::nullopt;
    const HistoryRecord record = Listed(*stored);
    return Line(record, record.RecCounts[0], record.RecCounts[3], locale);
}

HistoryRecord HistoryList::Listed(const HistoryRecord &stored)
{
    HistoryRecord record = stored;
    record.RecCMF =
        Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeAndCap);
    return record;
}

bool HistoryList::Readable(const HistoryRecord &stored, DateText::Writer &dates)
{
    return ColumnsOf(Listed(stored), dates).has_value();
}

bool HistoryList::ListHistory(const QString &path,
                              const std::function<void(const QString &)> &addLine,
                              Evaluation::Display verdicts)
{
    DateText::Writer dates;
    const bool ok = HistoryStore::ReadRecords(path, [&](const HistoryRecord &stored) {
        const HistoryRecord record = Listed(stored);
        const auto line = Line(record, record.RecCounts[0], record.RecCounts[3], dates, verdicts);
        if (!line)
            return false;
        addLine(*line);
        return true;
    });
    if (!ok)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(ErrorMessage()));
    return ok;
}

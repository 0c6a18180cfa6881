#pragma once

#include "platform/DateText.h"
#include "record/Evaluation.h"
#include "record/HistoryRecord.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

// The history as text: one fixed-column line per record (name, date, time,
// CMF and both verdicts between literal " * " separators), the same line in
// the data window's list and in the exported table, so both read alike and
// old exports keep lining up; only the verdicts are in the window's language
// in the list and always English in the export. Columns are stripped of
// blanks and padded to their width; a value that does not fit its column
// is an error of the file, never a line cut short.
class HistoryList
{
    Q_DECLARE_TR_FUNCTIONS(HistoryList)

public:
    // The four text columns that the list, the export and the printed table
    // share, each padded to its width.
    struct Columns
    {
        QString name; // 20
        QString date; // 10
        QString time; // 12
        QString cmf;  // 3
    };

    static constexpr int NameWidth = 20;
    static constexpr int DateWidth = DateText::DateWidth;
    static constexpr int TimeWidth = DateText::TimeWidth;
    static constexpr int CmfWidth = 3;

    // The columns of a record whose CMF has already been corrected;
    // nothing when a value is wider than its column or no date at all.
    static std::optional<Columns> ColumnsOf(const HistoryRecord &record,
                                            const QLocale &locale = QLocale());
    // The same with the locale's forms read once for a whole file.
    static std::optional<Columns> ColumnsOf(const HistoryRecord &record, DateText::Writer &dates);
    // The whole line of a corrected record; c1 and c4 decide reliability.
    // The verdicts are in the words of the display: the user's language in
    // the data window's list, English in the exported table.
    static std::optional<QString>
    Line(const HistoryRecord &record, std::int16_t c1, std::int16_t c4,
         const QLocale &locale = QLocale(),
         Evaluation::Display verdicts = Evaluation::Display::HistoryLine);

    // Whether the list shows a stored record, or ends there with
    // ErrorMessage(): a value no calendar can date or wider than its column
    // (a date with a time of day, a time with days). Every other view of the
    // whole history (the CSV, the trend) stops where the list stops.
    static bool Readable(const HistoryRecord &stored, DateText::Writer &dates);
    // A stored record with its CMF as the list shows it: a rise as -1, at
    // most 100.
    static HistoryRecord Listed(const HistoryRecord &stored);

    // Reads the history file at path record by record and hands each
    // record's line to addLine, in file order: the data window's list and
    // the exported table alike. A failure keeps what was handed on so far,
    // tells the user ErrorMessage() and returns false.
    static bool ListHistory(const QString &path,
                            const std::function<void(const QString &)> &addLine,
                            Evaluation::Display verdicts = Evaluation::Display::HistoryLine);

    // The line the list shows first for the history file at path; nothing
    // when it holds no whole record or that record cannot be shown.
    static std::optional<QString> FirstLine(const QString &path, const QLocale &locale = QLocale());

    // The name with every C0 control character (tab, line ends, escape, a
    // zero byte of a damaged file) shown as a blank, so that a record is
    // always one line of the list, the export and the printed table.
    static QString ShownName(const QString &name);

    // Strips leading and trailing blanks and pads with blanks on the right;
    // nothing when the stripped value is wider than the column.
    static std::optional<QString> Fit(const QString &value, int width);

    static QString ErrorMessage() { return tr("Error file data! Clear data."); }

private:
    // The same line, with the locale's forms read once for a whole file.
    static std::optional<QString> Line(const HistoryRecord &record, std::int16_t c1,
                                       std::int16_t c4, DateText::Writer &dates,
                                       Evaluation::Display verdicts);
    // Appends value stripped and padded to width; false when it is wider.
    static bool AppendFitted(QString &out, QStringView value, int width);
};

#pragma once

#include "record/HistoryRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The history as comma-separated values (RFC 4180) for spreadsheets and
// statistics programs: a header row, then one row per record in file
// order, with the name as it reads (padding gone, control characters as
// blanks), the date and time in ISO 8601 whatever the locale, the counts
// as stored, the CMF as the data window's list shows it and the verdicts
// in the words of the results window. UTF-8 with a byte-order mark, so
// spreadsheet programs read Cyrillic names as such, and CR LF line ends.
class HistoryCsv
{
public:
    struct Table
    {
        QByteArray bytes;
        // False when the history could not be read to its end: the rows
        // before the first record that cannot be read are all there.
        bool complete = true;
    };

    // The table of the history file at path. Read on its own, without the
    // session's record buffer, which a test run may be using.
    static Table Build(const QString &historyPath);

    // A record's row without its line end; nothing when its date or time
    // is no day a calendar can show (a damaged record).
    static std::optional<QString> Row(const HistoryRecord &record);
    // The field as written: in double quotes, with each quote doubled, when
    // it holds a comma, a quote or a line break; as it is otherwise.
    static QString Field(const QString &value);

    static QString Header()
    {
        return QStringLiteral("name,date,time,c1,c2,c3,c4,cmf,results,reliability");
    }
};

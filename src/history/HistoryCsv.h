#pragma once

#include "platform/DateText.h"
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
// A name a spreadsheet would take for a formula starts with an apostrophe.
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

    // A record's row without its line end; nothing where the data window's
    // list cannot show the record either (HistoryList::Readable), with the
    // dates of the user's locale.
    static std::optional<QString> Row(const HistoryRecord &record, DateText::Writer &dates);
    // The field as written: in double quotes, with each quote doubled, when
    // it holds a comma, a quote or a line break; as it is otherwise.
    static QString Field(const QString &value);
    // A text field as written: one starting with =, +, -, @, a tab or a
    // carriage return gets a leading apostrophe first, so a spreadsheet
    // shows it as the text it is instead of running it as a formula.
    static QString TextField(const QString &value);
    // A stored name as its field is written: as it reads (padding gone,
    // control characters as blanks), guarded as a TextField.
    static QString NameField(const QString &storedName);

    static QString Header()
    {
        return QStringLiteral("name,date,time,c1,c2,c3,c4,cmf,results,reliability");
    }
};

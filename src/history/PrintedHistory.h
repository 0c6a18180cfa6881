#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The text of the printed history table: tab-separated columns under a
// tabbed header, laid out for a printer's tab stops rather than fixed
// columns. Unlike the list it shows a stored CMF above 100 as stored, so
// the paper shows what the file holds.
class PrintedHistory
{
public:
    // The table of the history file at path. Nothing when the file cannot
    // be read or a value does not fit its column.
    static std::optional<QString> Build(const QString &path, const QLocale &locale = QLocale());

    // Five empty lines, the header and its line ends.
    static QString Leading();
};

#pragma once

#include "platform/files/KeptFiles.h"
#include "platform/files/SaveOutcome.h"

#include <QCoreApplication>
#include <QString>

class CommonDialog;

// The history as a text table in a file of the user's choice: a header,
// the data window's lines, an empty last line, CR LF line ends, in the
// Cyrillic code page that older tools reading these files expect. Each
// export is appended, so a file can collect the tables of several days.
// The same dialog's second choice writes the history for spreadsheets and
// statistics instead (HistoryCsv), as a file of its own that replaces the
// one chosen.
class HistoryExport
{
    Q_DECLARE_TR_FUNCTIONS(HistoryExport)

public:
    // Asks for the file, writes the table or the CSV of the history at
    // historyPath and says so; a CSV that was not written says why. No
    // kept file (Kept) is ever the file written.
    static void Export(CommonDialog &dlog, const QString &historyPath,
                       const QString &defaultHistoryPath);

    // The files no export or printout may write: the history at
    // historyPath, the default one (which later tests may go back to), the
    // key presses kept beside each, and the default's backups with theirs.
    static KeptFiles Kept(const QString &historyPath, const QString &defaultHistoryPath);

    // Appends the table of the history at historyPath to the file at path.
    // On a failed write the file is cut back to its length before, so it
    // keeps its old content and no half table. No kept file is ever
    // written to, and nothing but a regular file (or a new one): a FIFO is
    // never waited on.
    static bool AppendTableTo(const QString &path, const QString &historyPath,
                              const QString &defaultHistoryPath);

    // Replaces the file at path with the CSV of the history at historyPath,
    // in one step: on any failure the old file stays whole. The same files
    // are refused as for the table. A history that cannot be read to its
    // end gives the rows before the damage and the list's message.
    static SaveOutcome WriteCsvTo(const QString &path, const QString &historyPath,
                                  const QString &defaultHistoryPath);

    // The dialog's entries: the text table first, as it always was.
    static QString Filter()
    {
        return QStringLiteral("*.txt | *.txt|") +
               tr("CSV for spreadsheets and statistics (*.csv)") + QStringLiteral("|*.csv");
    }
    static constexpr int CsvEntry = 2;

    static QString Header()
    {
        return QStringLiteral(
            "   Recording             Date        Time      CMF     Results  Validation");
    }
    static QString SavedMessage() { return tr("File saved!"); }
};

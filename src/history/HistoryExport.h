#pragma once

#include "session/Startup.h"

#include <QString>

class CommonDialog;

// The history as a text table in a file of the user's choice: a header,
// the data window's lines, an empty last line, CR LF line ends, in the
// Cyrillic code page that older tools reading these files expect. Each
// export is appended, so a file can collect the tables of several days.
class HistoryExport
{
public:
    // Asks for the file, writes the table and says so. Neither the history
    // in use nor the default one (which later tests may go back to) is
    // ever the file written.
    static void Export(CommonDialog &dlog,
                       const QString &defaultDataPath = Startup::DefaultDataPath());

    // Appends the table of the current history to the file. On a failed
    // write the file is cut back to its length before, so it keeps its old
    // content and no half table. No history file is ever written to, and
    // nothing but a regular file (or a new one): a FIFO is never waited on.
    static bool AppendTableTo(const QString &path,
                              const QString &defaultDataPath = Startup::DefaultDataPath());

    static QString Header()
    {
        return QStringLiteral(
            "   Recording             Date        Time      CMF     Results  Validation");
    }
    static QString SavedMessage() { return QStringLiteral("File saved!"); }
};

#pragma once

#include <QString>

class CommonDialog;
class QPrinter;

// Printing the history table: the user picks the printer, the table is
// built from the history file in use and goes out as plain text. There is
// nothing to tell the user afterwards: the paper is the answer, and a
// printer that cannot be used prints nothing.
class HistoryPrinter
{
public:
    static void Print(CommonDialog &dlog, const QString &historyPath);
    // Builds the table and prints it; false when nothing was printed.
    static bool PrintHistory(QPrinter &printer, const QString &historyPath);
};

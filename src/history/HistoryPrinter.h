#pragma once

class CommonDialog;
class QPrinter;

// Printing the history table: the user picks the printer, the table is
// built from the current history file and goes out as plain text. There
// is nothing to tell the user afterwards: the paper is the answer, and a
// printer that cannot be used prints nothing.
class HistoryPrinter
{
public:
    static void Print(CommonDialog &dlog);
    // Builds the table and prints it; false when nothing was printed.
    static bool PrintHistory(QPrinter &printer);
};

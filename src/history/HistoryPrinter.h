#pragma once

#include "platform/files/KeptFiles.h"
#include "platform/files/SaveOutcome.h"

#include <QString>

class CommonDialog;
class QPrinter;

// Printing the history table: the user picks the printer, the table is
// built from the history file in use and goes out as plain text. On paper
// there is nothing to tell the user afterwards: the paper is the answer,
// and a printer that cannot be used prints nothing. A PDF file chosen
// instead is never one of the histories or their backups, and one that
// cannot be written whole is not written at all; the user is told why.
class HistoryPrinter
{
public:
    static void Print(CommonDialog &dlog, const QString &historyPath,
                      const QString &defaultHistoryPath);
    // Builds the table and prints it, never over a kept file.
    static SaveOutcome PrintHistory(QPrinter &printer, const QString &historyPath,
                                    const KeptFiles &kept);
};

#pragma once

#include "platform/files/KeptFiles.h"
#include "platform/files/SaveOutcome.h"

class CommonDialog;
class QPrinter;
class ResultReport;

// Printing one test's report: the user picks the printer (or, on a machine
// with none, a PDF file named after the test), and the report goes out as
// one page dated today by the platform's clock. Like the history table, it
// tells nothing afterwards on paper; a PDF that would take the place of a
// kept file (the caller's histories) or cannot be written whole is not
// written, and the user is told why.
class ResultPrinter
{
public:
    static void Print(CommonDialog &dlog, const ResultReport &report, const KeptFiles &kept);
    static SaveOutcome PrintReport(QPrinter &printer, const ResultReport &report,
                                   const KeptFiles &kept = KeptFiles());
};

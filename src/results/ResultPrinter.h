#pragma once

class CommonDialog;
class QPrinter;
class ResultReport;

// Printing one test's report: the user picks the printer (or, on a machine
// with none, a PDF file named after the test), and the report goes out as
// one page dated today by the platform's clock. Like the history table, it
// tells nothing afterwards: the paper is the answer.
class ResultPrinter
{
public:
    static void Print(CommonDialog &dlog, const ResultReport &report);
    // False when nothing was printed.
    static bool PrintReport(QPrinter &printer, const ResultReport &report);
};

#include "ResultPrinter.h"

#include "ResultReport.h"
#include "platform/Clock.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QPrinter>

void ResultPrinter::Print(CommonDialog &dlog, const ResultReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    // The job's name in the queue, and the PDF file's name offered.
    printer.setDocName(report.DocumentName());
    printer.setCreator(ResultReport::ProgramName());
    if (dlog.ShowPrinter(printer))
        PrintReport(printer, report);
}

bool ResultPrinter::PrintReport(QPrinter &printer, const ResultReport &report)
{
    return printer.isValid() && report.Paint(printer, Platform::GetClock().Today());
}

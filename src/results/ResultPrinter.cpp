#include "ResultPrinter.h"

#include "ResultReport.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/PrinterOutput.h"

#include <QPainter>
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
    // A PDF file made here is as private as the history it comes from.
    QPainter painter;
    return printer.isValid() && PrinterOutput::Begin(painter, printer) &&
           report.Paint(painter, printer, Platform::GetClock().Today());
}

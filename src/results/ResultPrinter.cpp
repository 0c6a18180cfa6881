#include "ResultPrinter.h"

#include "ResultReport.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/PrinterOutput.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

void ResultPrinter::Print(CommonDialog &dlog, const ResultReport &report, const KeptFiles &kept)
{
    QPrinter printer(QPrinter::HighResolution);
    // The job's name in the queue, and the PDF file's name offered.
    printer.setDocName(report.DocumentName());
    printer.setCreator(ResultReport::ProgramName());
    if (dlog.ShowPrinter(printer))
        PrinterOutput::Tell(PrintReport(printer, report, kept));
}

SaveOutcome ResultPrinter::PrintReport(QPrinter &printer, const ResultReport &report,
                                       const KeptFiles &kept)
{
    if (!printer.isValid())
        return SaveOutcome::Abandoned;
    PrinterOutput output(printer, kept);
    QPainter painter;
    if (!output.Begin(painter))
        return output.Finish(false);
    return output.Finish(report.Paint(painter, output.Device(), Platform::GetClock().Today()));
}

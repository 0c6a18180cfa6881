#include "HistoryPrinter.h"

#include "HistoryExport.h"
#include "HistoryStore.h"
#include "PrintedHistory.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/PrinterOutput.h"
#include "platform/ui/TextPrinter.h"

#include <QPrinter>

void HistoryPrinter::Print(CommonDialog &dlog, const QString &historyPath,
                           const QString &defaultHistoryPath)
{
    QPrinter printer(QPrinter::HighResolution);
    // A PDF, where one is offered, goes beside the history by default.
    dlog.SetInitDir(HistoryStore::FolderOf(historyPath));
    if (dlog.ShowPrinter(printer))
        PrinterOutput::Tell(PrintHistory(printer, historyPath,
                                         HistoryExport::Kept(historyPath, defaultHistoryPath)));
}

SaveOutcome HistoryPrinter::PrintHistory(QPrinter &printer, const QString &historyPath,
                                         const KeptFiles &kept)
{
    const auto text = PrintedHistory::Build(historyPath);
    if (!text)
        return SaveOutcome::Abandoned;
    return TextPrinter::Print(printer, *text + QStringLiteral("\r\n"), kept);
}

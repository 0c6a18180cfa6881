#include "HistoryPrinter.h"

#include "HistoryStore.h"
#include "PrintedHistory.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/TextPrinter.h"

#include <QPrinter>

void HistoryPrinter::Print(CommonDialog &dlog, const QString &historyPath)
{
    QPrinter printer(QPrinter::HighResolution);
    // A PDF, where one is offered, goes beside the history by default.
    dlog.SetInitDir(HistoryStore::FolderOf(historyPath));
    if (dlog.ShowPrinter(printer))
        PrintHistory(printer, historyPath);
}

bool HistoryPrinter::PrintHistory(QPrinter &printer, const QString &historyPath)
{
    const auto text = PrintedHistory::Build(historyPath);
    return text && TextPrinter::Print(printer, *text + QStringLiteral("\r\n"));
}

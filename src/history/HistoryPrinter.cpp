#include "HistoryPrinter.h"

#include "HistoryStore.h"
#include "PrintedHistory.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/TextPrinter.h"
#include "session/SessionState.h"

#include <QPrinter>

void HistoryPrinter::Print(CommonDialog &dlog)
{
    QPrinter printer(QPrinter::HighResolution);
    // A PDF, where one is offered, goes beside the history by default.
    dlog.SetInitDir(HistoryStore::DataFolder());
    if (dlog.ShowPrinter(printer))
        PrintHistory(printer);
}

bool HistoryPrinter::PrintHistory(QPrinter &printer)
{
    const auto text = PrintedHistory::Build();
    Session().RecNo = 1;
    return text && TextPrinter::Print(printer, *text + QStringLiteral("\r\n"));
}

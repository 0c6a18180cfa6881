#include "PrinterOutput.h"

#include "platform/files/FileMode.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

bool PrinterOutput::Begin(QPainter &painter, QPrinter &printer)
{
    const QString file =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    const bool made = !file.isEmpty() && FileMode::MakeEmpty(file);
    if (painter.begin(&printer))
        return true;
    if (made)
        QFile::remove(file);
    return false;
}

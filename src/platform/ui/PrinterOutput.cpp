#include "PrinterOutput.h"

#include "Dialogs.h"
#include "platform/Platform.h"
#include "platform/files/FileReplacement.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

PrinterOutput::PrinterOutput(QPrinter &printer, KeptFiles kept)
    : m_printer(printer), m_kept(std::move(kept))
{}

PrinterOutput::~PrinterOutput()
{
    // The writer goes before the file it writes into.
    m_writer.reset();
}

bool PrinterOutput::Begin(QPainter &painter)
{
    const QString target =
        m_printer.outputFormat() == QPrinter::PdfFormat ? m_printer.outputFileName() : QString();
    if (target.isEmpty()) {
        m_started = painter.begin(&m_printer) ? SaveOutcome::Done : SaveOutcome::Abandoned;
        return m_started == SaveOutcome::Done;
    }
    if (m_kept.Holds(target)) {
        m_started = SaveOutcome::Refused;
        return false;
    }
    m_file = std::make_unique<FileReplacement>(target);
    if (!m_file->Open()) {
        m_file.reset();
        m_started = SaveOutcome::NotOpened;
        return false;
    }
    // The sheet as it was chosen in the printer dialog.
    m_writer = std::make_unique<QPdfWriter>(&m_file->Device());
    m_writer->setResolution(m_printer.resolution());
    m_writer->setPageLayout(m_printer.pageLayout());
    m_writer->setPdfVersion(m_printer.pdfVersion());
    m_writer->setTitle(m_printer.docName());
    m_writer->setCreator(m_printer.creator());
    if (!painter.begin(m_writer.get())) {
        m_file->Cancel();
        m_file->Commit();
        m_started = SaveOutcome::NotWritten;
        return false;
    }
    m_started = SaveOutcome::Done;
    return true;
}

QPagedPaintDevice &PrinterOutput::Device()
{
    if (m_writer)
        return *m_writer;
    return m_printer;
}

SaveOutcome PrinterOutput::Finish(bool painted)
{
    if (m_started != SaveOutcome::Done)
        return m_started;
    if (!m_file)
        return painted ? SaveOutcome::Done : SaveOutcome::Abandoned;
    m_writer.reset();
    if (!painted) {
        // Nothing could be painted (the sheet has no room): the old file
        // stays, and the paper would have said as little.
        m_file->Cancel();
        m_file->Commit();
        return SaveOutcome::Abandoned;
    }
    return m_file->Commit() ? SaveOutcome::Done : SaveOutcome::NotWritten;
}

void PrinterOutput::Tell(const SaveOutcome &outcome)
{
    const QString message = outcome.Message();
    if (!message.isEmpty())
        Platform::GetDialogs().MsgBox(Dialogs::Notice(message));
}

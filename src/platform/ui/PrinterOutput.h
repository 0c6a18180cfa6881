#pragma once

#include "platform/files/KeptFiles.h"
#include "platform/files/SaveOutcome.h"

#include <memory>

class FileReplacement;
class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

// One print job, from the painter's start to the paper or the file. A
// printer that writes a PDF file would write it over the file of that name
// as it goes, readable by every account, and say nothing when the disk
// fills up on the way; so a PDF is painted here into a file of its own
// beside the chosen one (FileReplacement), with the mode of the program's
// other new files (FileMode) or the one the old file has, and takes the
// chosen name only when it is whole. A name that reaches a kept file (the
// history) is refused before anything is written. A real printer is
// painted on directly, as ever.
class PrinterOutput
{
public:
    PrinterOutput(QPrinter &printer, KeptFiles kept = KeptFiles());
    ~PrinterOutput();
    PrinterOutput(const PrinterOutput &) = delete;
    PrinterOutput &operator=(const PrinterOutput &) = delete;

    // Begins the painter on Device(); false when the job cannot start, with
    // the reason in the outcome Finish would give.
    bool Begin(QPainter &painter);
    // What to paint on once begun: the printer, or the PDF being written.
    QPagedPaintDevice &Device();
    // After the painter has ended (painted: whether the page was painted
    // and ended well), puts a PDF in place.
    SaveOutcome Finish(bool painted);

    // Shows the outcome's sentence, if it has one.
    static void Tell(const SaveOutcome &outcome);

private:
    QPrinter &m_printer;
    KeptFiles m_kept;
    std::unique_ptr<FileReplacement> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    SaveOutcome m_started = SaveOutcome::Abandoned;
};

#pragma once

class QPainter;
class QPrinter;

// Starting a print job. A printer that writes a PDF file makes that file
// itself, readable by every account; this makes it first with the mode of
// the program's other new files (FileMode), so a printed history is as
// private as the history. A PDF file that is already there keeps its mode.
class PrinterOutput
{
public:
    // QPainter::begin on the printer; false, with no file left behind that
    // was not there before, when the printer cannot be used.
    static bool Begin(QPainter &painter, QPrinter &printer);
};

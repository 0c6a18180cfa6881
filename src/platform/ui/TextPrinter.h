#pragma once

#include "platform/files/KeptFiles.h"
#include "platform/files/SaveOutcome.h"

#include <QString>
#include <QStringList>

class QPrinter;

// Plain text on a printer, with its tabs read as a table: a run of tabs
// separates two columns, and every column starts at the same place on all
// lines, just after the widest entry of the column before it, so a header
// and the rows under it line up whatever the font. Every line feed starts
// a new line (a CR before it is part of the same line end) and a full page
// goes on to the next. The printer's default font is used; a table wider
// than the page is printed smaller until it fits.
class TextPrinter
{
public:
    // Prints the text as one document (a PDF through PrinterOutput, never
    // over a kept file). Abandoned, with nothing printed, when the printer
    // cannot be used.
    static SaveOutcome Print(QPrinter &printer, const QString &text,
                             const KeptFiles &kept = KeptFiles());

    // The lines the text is printed as.
    static QStringList Lines(const QString &text);
    // The columns of one line: the text between runs of tabs. A line that
    // starts with tabs has an empty first column.
    static QStringList Columns(const QString &line);

    // Space between two columns, in average character widths.
    static constexpr int ColumnGap = 2;
};

#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

// Plain text on a printer, the way a line printer would put it: the
// printer's default font, no margins of the program's own, tabs expanded
// to regular stops, every line feed a new line (a CR before it is part of
// the same line end) and a new page when a page is full.
class TextPrinter
{
public:
    // Prints the text as one document; false, with nothing printed, when
    // the printer cannot be used.
    static bool Print(QPrinter &printer, const QString &text);

    // The lines the text is printed as.
    static QStringList Lines(const QString &text);

    // Tab stops lie this many average character widths apart.
    static constexpr int TabColumns = 8;
};

#include "TextPrinter.h"

#include "PrinterOutput.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

QStringList TextPrinter::Lines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // The line end after the last line starts no line of its own.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList TextPrinter::Columns(const QString &line)
{
    QStringList columns;
    qsizetype start = 0;
    while (start <= line.size()) {
        qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            tab = line.size();
        columns.append(line.sliced(start, tab - start));
        start = tab;
        while (start < line.size() && line.at(start) == QLatin1Char('\t'))
            ++start;
        if (start == line.size())
            break;
    }
    return columns;
}

SaveOutcome TextPrinter::Print(QPrinter &printer, const QString &text, const KeptFiles &kept)
{
    if (!printer.isValid())
        return SaveOutcome::Abandoned;
    PrinterOutput output(printer, kept);
    QPainter painter;
    if (!output.Begin(painter))
        return output.Finish(false);
    QPagedPaintDevice &device = output.Device();
    // In the device's own units throughout: its pixels, at its resolution.
    const QFont font(QFont(), &device);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);

    QList<QStringList> lines;
    QList<qreal> columnWidths;
    for (const QString &line : Lines(text)) {
        lines.append(Columns(line));
        const QStringList &columns = lines.last();
        if (columnWidths.size() < columns.size())
            columnWidths.resize(columns.size(), 0.0);
        for (qsizetype i = 0; i < columns.size(); ++i)
            columnWidths[i] = std::max(columnWidths[i], metrics.horizontalAdvance(columns.at(i)));
    }
    const qreal gap = metrics.averageCharWidth() * ColumnGap;
    QList<qreal> columnStarts(columnWidths.size(), 0.0);
    qreal width = 0;
    for (qsizetype i = 0; i < columnWidths.size(); ++i) {
        columnStarts[i] = i == 0 ? 0.0 : columnStarts[i - 1] + columnWidths[i - 1] + gap;
        width = columnStarts[i] + columnWidths[i];
    }

    const QSizeF page(device.width(), device.height());
    const qreal scale = width > page.width() ? page.width() / width : 1.0;
    const qreal pageHeight = page.height() / scale;
    const qreal lineHeight = metrics.lineSpacing();
    painter.scale(scale, scale);
    qreal y = 0;
    bool whole = true;
    for (const QStringList &columns : lines) {
        // Blank lines need no room on the paper, so none of them, not even
        // the line end that closes the text, starts a page of its own.
        const bool blank = std::all_of(columns.cbegin(), columns.cend(),
                                       [](const QString &column) { return column.isEmpty(); });
        if (!blank && y > 0 && y + lineHeight > pageHeight) {
            if (!device.newPage()) {
                whole = false;
                break;
            }
            y = 0;
        }
        for (qsizetype i = 0; i < columns.size(); ++i)
            painter.drawText(QPointF(columnStarts[i], y + metrics.ascent()), columns.at(i));
        y += lineHeight;
    }
    return output.Finish(painter.end() && whole);
}

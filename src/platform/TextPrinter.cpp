#include "TextPrinter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextOption>

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

bool TextPrinter::Print(QPrinter &printer, const QString &text)
{
    if (!printer.isValid())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFont font(QFont(), &printer);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(metrics.averageCharWidth() * TabColumns);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal pageHeight = page.height();
    const qreal lineHeight = metrics.lineSpacing();
    qreal y = 0;
    for (const QString &line : Lines(text)) {
        if (y > 0 && y + lineHeight > pageHeight) {
            if (!printer.newPage())
                break;
            y = 0;
        }
        painter.drawText(QRectF(0, y, page.width(), lineHeight), line, option);
        y += lineHeight;
    }
    return painter.end();
}

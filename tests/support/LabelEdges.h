#pragma once

#include <QImage>
#include <QList>
#include <QSet>
#include <QWidget>

// The colours of a widget's outermost pixels on each side as it is drawn,
// corners left out: top, right, bottom, left.
inline QList<QSet<QRgb>> labelEdges(QWidget *widget)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    QList<QSet<QRgb>> sides(4);
    for (int x = 1; x < right; ++x) {
        sides[0] << image.pixel(x, 0);
        sides[2] << image.pixel(x, bottom);
    }
    for (int y = 1; y < bottom; ++y) {
        sides[1] << image.pixel(right, y);
        sides[3] << image.pixel(0, y);
    }
    return sides;
}

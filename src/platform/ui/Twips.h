#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class QWidget;

// Window and drawing sizes are given in twips, 1440 to the inch at the
// screen's logical resolution (15 to a pixel at 96 DPI). Conversions round
// to whole pixels the way a window system places controls.
class Twips
{
public:
    static double PerPixel();
    static int ToPixels(double twips);
    static double FromPixels(int pixels) { return pixels * PerPixel(); }
    static QRect ToPixels(double left, double top, double width, double height);
    static QSize ToPixels(double width, double height);
    // A widget's geometry set from twips, relative to its parent.
    static void Place(QWidget *widget, double left, double top, double width, double height);
};

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

double Twips::PerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int Twips::ToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / PerPixel()));
}

QRect Twips::ToPixels(double left, double top, double width, double height)
{
    return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
}

QSize Twips::ToPixels(double width, double height)
{
    return {ToPixels(width), ToPixels(height)};
}

void Twips::Place(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(ToPixels(left, top, width, height));
}

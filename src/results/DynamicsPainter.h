#pragma once

#include "DynamicsPlot.h"

#include <QFont>
#include <QPointF>

#include <functional>

class QPainter;
class QPen;

// Paints the dynamics graph on any painter, so the results window, its
// frame overlay and the printed report draw one graph instead of copies
// that drift apart. It works in the twips of the box the graph is drawn in
// and leaves to the caller where a twip lands (whole pixels on the screen,
// a scaled sheet on paper) and what the painter clips and smooths. The
// graph comes in parts because the screen lays its frame on a layer of its
// own above the plot, while paper has everything on one page.
class DynamicsPainter
{
public:
    // A screen keeps the pixels the graph has always had there: square pen
    // ends, the line drawn segment by segment, numbers on whole pixels.
    // Paper gets flat-ended rules and one round-jointed line, which shows
    // no notch at its corners when antialiased.
    enum class Medium { Screen, Paper };

    // fromBox: box twips to the painter's coordinates. pixel: a pixel of
    // the screen the graph was designed on, in the painter's units, as the
    // thinnest pen. font: the counts' and the scale's, made for the device.
    DynamicsPainter(QPainter &painter, std::function<QPointF(QPointF)> fromBox, double pixel,
                    const QFont &font, Medium medium)
        : m_painter(painter), m_fromBox(std::move(fromBox)), m_pixel(pixel), m_font(font),
          m_medium(medium)
    {}

    void PaintGrid() const { PaintRules(true); }
    void PaintAxes() const { PaintRules(false); }
    void PaintLine(const DynamicsPlot &plot) const;
    void PaintTrend(const DynamicsPlot &plot) const;
    void PaintCounts(const DynamicsPlot &plot) const;
    // The scale captions for the plot's scale and the graph's caption,
    // which the window shows in labels of its own instead.
    void PaintCaptions(const DynamicsPlot &plot) const;

private:
    void PaintRules(bool grey) const;
    QPen Pen(const QColor &colour, double pixels, Qt::PenStyle style = Qt::SolidLine) const;
    // Where a count's number goes, its top or bottom edge at anchor.
    QRectF CountPlace(QPointF anchor, bool below, const QString &text) const;
    QPointF FromGraph(QPointF point) const;
    QRectF FromBox(const QRectF &twips) const;

    QPainter &m_painter;
    std::function<QPointF(QPointF)> m_fromBox;
    double m_pixel;
    QFont m_font;
    Medium m_medium;
};

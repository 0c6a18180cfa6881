#include "DynamicsPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

void DynamicsPainter::PaintRules(bool grey) const
{
    m_painter.setPen(Pen(grey ? DynamicsPlot::GridColour() : DynamicsPlot::AxisColour(), 1));
    for (const DynamicsPlot::Rule &rule : DynamicsPlot::Rules()) {
        if (rule.grey == grey)
            m_painter.drawLine(m_fromBox({rule.x1, rule.y1}), m_fromBox({rule.x2, rule.y2}));
    }
}

void DynamicsPainter::PaintLine(const DynamicsPlot &plot) const
{
    const auto &points = plot.Points();
    if (m_medium == Medium::Screen) {
        m_painter.setPen(Pen(DynamicsPlot::LineColour(), 2));
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            m_painter.drawLine(FromGraph(points[i]), FromGraph(points[i + 1]));
        return;
    }
    QPainterPath line(FromGraph(points[0]));
    for (std::size_t i = 1; i < points.size(); ++i)
        line.lineTo(FromGraph(points[i]));
    m_painter.strokePath(line, QPen(DynamicsPlot::LineColour(), 2 * m_pixel, Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
}

void DynamicsPainter::PaintTrend(const DynamicsPlot &plot) const
{
    m_painter.setPen(Pen(DynamicsPlot::TrendColour(), 1, Qt::DotLine));
    m_painter.drawLine(FromGraph(plot.Trend().p1()), FromGraph(plot.Trend().p2()));
}

void DynamicsPainter::PaintCounts(const DynamicsPlot &plot) const
{
    // The number beside each point is what was counted, so nobody has to
    // read it off the scale.
    m_painter.setFont(m_font);
    m_painter.setPen(DynamicsPlot::TextColour());
    for (int i = 0; i < int(plot.Points().size()); ++i) {
        const QPointF point = plot.Points()[std::size_t(i)];
        const bool below = plot.CountBelow(i);
        const QPointF anchor = FromGraph(
            {point.x(), point.y() + (below ? DynamicsPlot::CountGap : -DynamicsPlot::CountGap)});
        m_painter.drawText(CountPlace(anchor, below, plot.CountText(i)),
                           Qt::AlignCenter | Qt::TextSingleLine, plot.CountText(i));
    }
}

QRectF DynamicsPainter::CountPlace(QPointF anchor, bool below, const QString &text) const
{
    if (m_medium == Medium::Screen) {
        const QFontMetrics metrics(m_font);
        const QPoint at = anchor.toPoint();
        const int width = metrics.horizontalAdvance(text);
        return QRect(at.x() - width / 2, below ? at.y() : at.y() - metrics.height(), width,
                     metrics.height());
    }
    const QFontMetricsF metrics(m_font);
    const double width = metrics.horizontalAdvance(text);
    return {anchor.x() - width / 2, below ? anchor.y() : anchor.y() - metrics.height(), width,
            metrics.height()};
}

void DynamicsPainter::PaintCaptions(const DynamicsPlot &plot) const
{
    m_painter.setFont(m_font);
    m_painter.setPen(DynamicsPlot::TextColour());
    for (int i = 0; i < DynamicsPlot::CaptionCount; ++i)
        m_painter.drawText(FromBox(DynamicsPlot::CaptionPlace(i)), Qt::AlignHCenter | Qt::AlignTop,
                           plot.CaptionText(i));
    // Grown as the window's caption is to its scale.
    QFont titleFont = m_font;
    titleFont.setPointSizeF(m_font.pointSizeF() / DynamicsPlot::CaptionPoints *
                            DynamicsPlot::TitlePoints);
    const QRectF title = FromBox(DynamicsPlot::TitlePlace());
    const double height = QFontMetricsF(titleFont).height();
    m_painter.setFont(titleFont);
    // A longer title in another language runs on above the grid.
    m_painter.drawText(title.adjusted(0, (title.height() - height) / 2, 0, 0),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, DynamicsPlot::Title());
}

QPen DynamicsPainter::Pen(const QColor &colour, double pixels, Qt::PenStyle style) const
{
    QPen pen(colour, pixels * m_pixel, style);
    if (m_medium == Medium::Paper)
        pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QPointF DynamicsPainter::FromGraph(QPointF point) const
{
    return m_fromBox({point.x() + DynamicsPlot::OriginX, point.y() + DynamicsPlot::OriginY});
}

QRectF DynamicsPainter::FromBox(const QRectF &twips) const
{
    return {m_fromBox(twips.topLeft()), m_fromBox(twips.bottomRight())};
}

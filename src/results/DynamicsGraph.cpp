#include "DynamicsGraph.h"

#include "platform/ui/PictureBox.h"

DynamicsPlot DynamicsGraph::DrawDynamics(float value1, float value2, float value3, float value4,
                                         PictureBox &box)
{
    const DynamicsPlot plot(value1, value2, value3, value4);
    const auto &points = plot.Points();

    box.SetDrawWidth(2);
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        box.Line(points[i], points[i + 1], LineColour());

    // The number beside each point is what was counted, so nobody has to
    // read it off the scale.
    for (int i = 0; i < int(points.size()); ++i) {
        const QPointF point = points[std::size_t(i)];
        const bool below = plot.CountBelow(i);
        box.Print(
            {point.x(), point.y() + (below ? DynamicsPlot::CountGap : -DynamicsPlot::CountGap)},
            below ? PictureBox::TextEdge::Top : PictureBox::TextEdge::Bottom, plot.CountText(i),
            CountColour());
    }

    box.SetDrawWidth(1);
    box.SetDrawStyle(PictureBox::PenStyle::Dot);
    box.Line(plot.Trend().p1(), plot.Trend().p2(), TrendColour());
    return plot;
}

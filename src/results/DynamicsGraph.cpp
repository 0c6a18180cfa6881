#include "DynamicsGraph.h"

#include "DynamicsPainter.h"
#include "platform/ui/PictureBox.h"

DynamicsPlot DynamicsGraph::DrawDynamics(float value1, float value2, float value3, float value4,
                                         PictureBox &box)
{
    const DynamicsPlot plot(value1, value2, value3, value4);
    box.Draw([&](QPainter &painter) {
        // The box's own coordinates are the graph's, and its rounding keeps
        // a point far off the box on a pixel the painter can still clip.
        const auto fromBox = [&box](QPointF twips) {
            return QPointF(box.ToPixel(twips + QPointF(ScaleLeft, ScaleTop)));
        };
        const DynamicsPainter graph(painter, fromBox, 1, box.font(),
                                    DynamicsPainter::Medium::Screen);
        graph.PaintLine(plot);
        graph.PaintCounts(plot);
        graph.PaintTrend(plot);
    });
    return plot;
}

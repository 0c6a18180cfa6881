#include "DynamicsGraph.h"

#include "platform/PictureBox.h"

#include <array>

void DynamicsGraph::DrawDynamics(float value1, float value2, float value3, float value4,
                                 PictureBox &box)
{
    // Single precision throughout, so the points and the trend fall on the
    // same twips as they always have.
    const std::array<float, 4> y{value1 * -TwipsPerPress, value2 * -TwipsPerPress,
                                 value3 * -TwipsPerPress, value4 * -TwipsPerPress};

    box.SetDrawWidth(2);
    float x = FirstX;
    for (std::size_t i = 0; i + 1 < y.size(); ++i) {
        box.Line({x, y[i]}, {x + ColumnWidth, y[i + 1]}, LineColour());
        x += ColumnWidth;
    }

    box.SetDrawWidth(1);
    box.SetDrawStyle(PictureBox::PenStyle::Dot);
    // The trend passes through the mean of the first two counts in the
    // middle of their columns and the mean of the last two in theirs.
    const float xA = FirstX + ColumnWidth / 2.0F;
    const float yA = (y[0] + y[1]) / 2.0F;
    const float yB = (y[2] + y[3]) / 2.0F;
    const float run = 2.0F * ColumnWidth;
    const auto trend = [&](float at) {
        return yA + (at - xA) * (yB - yA) / run;
    };
    box.Line({TrendFromX, trend(TrendFromX)}, {TrendToX, trend(TrendToX)}, TrendColour());
}

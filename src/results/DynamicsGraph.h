#pragma once

#include <QColor>

class PictureBox;

// The dynamics graph of the results window: the four evaluated interval
// counts as a red polyline over four columns, 90 twips a key press upward
// from the x axis, and a dotted grey trend line through the means of the
// first two and of the last two counts across the whole graph. Drawing is
// in graph coordinates, whose origin is the crossing of the axes that the
// results window draws around it; whatever falls outside the box is cut
// off by the box, however far out a count lies.
class DynamicsGraph
{
public:
    // The box coordinates of the graph's origin, as the box's scale
    // origin: graph x = box x - 480, graph y = box y - 4080.
    static constexpr double ScaleLeft = -480.0;
    static constexpr double ScaleTop = -4080.0;

    static constexpr float TwipsPerPress = 90.0F;
    static constexpr float FirstX = 360.0F;
    static constexpr float ColumnWidth = 720.0F;
    static constexpr float TrendFromX = 0.0F;
    static constexpr float TrendToX = 3100.0F;

    static QColor LineColour() { return {255, 0, 0}; }
    static QColor TrendColour() { return {128, 128, 128}; }

    // Draws without clearing the box first; leaves the pen 1 pixel wide
    // and dotted.
    static void DrawDynamics(float value1, float value2, float value3, float value4,
                             PictureBox &box);
};

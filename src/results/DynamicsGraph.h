#pragma once

#include "DynamicsPlot.h"

class PictureBox;

// The dynamics graph of the results window: the four evaluated interval
// counts as a red polyline over four columns, each point with its count
// written beside it, and a dotted grey trend line through the means of the
// first two and of the last two counts across the whole graph, at the scale
// DynamicsPlot chooses (90 twips a key press while everything fits under
// the top grid line). Drawing is in graph coordinates, whose origin is the
// crossing of the axes that the results window draws around it; whatever
// still falls outside the box is cut off by the box.
class DynamicsGraph
{
public:
    // The box coordinates of the graph's origin, as the box's scale
    // origin: graph x = box x - 480, graph y = box y - 4080.
    static constexpr double ScaleLeft = -DynamicsPlot::OriginX;
    static constexpr double ScaleTop = -DynamicsPlot::OriginY;

    // Draws without clearing the box first and returns the plot drawn, whose
    // scale the captions must show.
    static DynamicsPlot DrawDynamics(float value1, float value2, float value3, float value4,
                                     PictureBox &box);
};

#pragma once

#include <QColor>

class PictureBox;

// The live rate diagram of a test run. An imaginary pen crosses the area
// from left to right; each drift tick lowers it a little and each key
// release lifts it more, and every step paints a narrow strip coloured by
// the zone the pen is in: green above a band around the centre line, yellow
// within it, red below. The pen position is the session's PenX and PenY.
class LiveDiagram
{
public:
    static constexpr float Advance = 10.0F;
    static constexpr float KeyStep = 160.0F;
    static constexpr float DriftStep = 65.0F;
    static constexpr float HalfBand = 100.0F;

    static QColor ReferenceColour() { return {0, 0, 255}; }
    static QColor GreenZone() { return {0, 255, 0}; }
    static QColor YellowZone() { return {255, 255, 0}; }
    static QColor RedZone() { return {255, 0, 0}; }

    static void DrawReferenceLines(PictureBox &area);
    static void DrawDiagramStep(PictureBox &area, bool keyStep);
    // The zone of a pen at penY in an area of the given height, both band
    // limits belonging to the yellow band.
    static QColor ZoneColour(float penY, float height);
};

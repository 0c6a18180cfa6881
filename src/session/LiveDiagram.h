#pragma once

#include <QColor>

class PictureBox;

// The live rate diagram of a test run. An imaginary pen crosses the area
// from left to right; each drift tick lowers it a little and each key
// release lifts it more, and every step paints a narrow strip coloured by
// the zone the pen is in: green above a band around the centre line, yellow
// within it, red below. The pen is the diagram's own, set at the start of
// each run; it is never clamped, and what falls outside the area is simply
// not seen.
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

    // Puts the pen where a run starts: a tenth of the way across, halfway
    // down.
    void PlacePen(const PictureBox &area);
    void SetPen(float x, float y)
    {
        m_penX = x;
        m_penY = y;
    }
    float PenX() const { return m_penX; }
    float PenY() const { return m_penY; }

    static void DrawReferenceLines(PictureBox &area);
    void DrawDiagramStep(PictureBox &area, bool keyStep);
    // The zone of a pen at penY in an area of the given height, both band
    // limits belonging to the yellow band.
    static QColor ZoneColour(float penY, float height);

private:
    float m_penX = 0.0F;
    float m_penY = 0.0F;
};

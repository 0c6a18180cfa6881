#include "LiveDiagram.h"

#include "platform/ui/PictureBox.h"

QColor LiveDiagram::ZoneColour(float penY, float height)
{
    const float centre = height / 2.0F;
    const float lower = centre + HalfBand;
    const float upper = centre - HalfBand;
    if (penY > lower)
        return RedZone();
    if (penY < upper)
        return GreenZone();
    return YellowZone();
}

void LiveDiagram::DrawReferenceLines(PictureBox &area)
{
    const double height = area.ScaleHeight();
    const double width = area.ScaleWidth();
    area.Line({0.0, height / 2}, {width, height / 2}, ReferenceColour());
    area.Line({width / 10, height}, {width / 10, 0.0}, ReferenceColour());
}

void LiveDiagram::PlacePen(const PictureBox &area)
{
    m_penX = static_cast<float>(area.ScaleWidth() / 10);
    m_penY = static_cast<float>(area.ScaleHeight() / 2);
}

void LiveDiagram::DrawDiagramStep(PictureBox &area, bool keyStep)
{
    const auto height = static_cast<float>(area.ScaleHeight());
    m_penX += Advance;
    const float centre = height / 2.0F;
    m_penY += keyStep ? -KeyStep : DriftStep;
    const QColor colour = ZoneColour(m_penY, height);
    const float from = keyStep ? m_penY : centre;
    area.FillBox({m_penX, from}, {m_penX + Advance, m_penY}, colour);
}

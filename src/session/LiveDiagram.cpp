#include "LiveDiagram.h"

#include "SessionState.h"
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

void LiveDiagram::DrawDiagramStep(PictureBox &area, bool keyStep)
{
    SessionState &session = Session();
    const auto height = static_cast<float>(area.ScaleHeight());
    session.PenX += Advance;
    const float centre = height / 2.0F;
    session.PenY += keyStep ? -KeyStep : DriftStep;
    const QColor colour = ZoneColour(session.PenY, height);
    const float from = keyStep ? session.PenY : centre;
    area.FillBox({session.PenX, from}, {session.PenX + Advance, session.PenY}, colour);
}

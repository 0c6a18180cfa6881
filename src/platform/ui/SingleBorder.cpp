#include "SingleBorder.h"

#include <QFrame>

void SingleBorder::Apply(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Light, palette.color(group, QPalette::Dark));
    frame->setPalette(palette);
}

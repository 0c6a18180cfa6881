#include "LabelFit.h"

#include <QLabel>

#include <algorithm>

void LabelFit::Widen(QLabel *label, int widest)
{
    const int needed = label->sizeHint().width();
    if (needed > label->width())
        label->resize(std::min(needed, std::max(widest, label->width())), label->height());
}

void LabelFit::Shrink(QLabel *label, const QFont &designed)
{
    label->setFont(designed);
    QFont font = designed;
    while (label->sizeHint().width() > label->width() && font.pointSizeF() > SmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

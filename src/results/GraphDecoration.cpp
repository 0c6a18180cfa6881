#include "GraphDecoration.h"

#include "DynamicsPainter.h"
#include "DynamicsPlot.h"
#include "platform/ui/LabelFit.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPainter>

GraphDecoration::GraphDecoration(QWidget *box) : QWidget(box)
{
    setObjectName(QStringLiteral("GraphDecoration"));
    setAccessibleName(tr("Graph scale"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(box->rect());

    m_title = new QLabel(DynamicsPlot::Title(), this);
    m_title->setObjectName(QStringLiteral("Label2"));
    QFont captionFont = font();
    captionFont.setPointSizeF(DynamicsPlot::TitlePoints);
    m_title->setFont(captionFont);
    const QRectF title = DynamicsPlot::TitlePlace();
    Twips::Place(m_title, title.left(), title.top(), title.width(), title.height());
    // A longer title in another language runs on above the grid.
    LabelFit::Widen(m_title, width() - m_title->x());

    // Sixteen scale captions: the x scale under the four columns, then the
    // y scale on both sides of the grid, as the designed scale writes it
    // until a result sets the scale it is drawn at.
    const DynamicsPlot designed(0, 0, 0, 0);
    for (int i = 0; i < ScaleCaptions; ++i) {
        auto *label = new QLabel(designed.CaptionText(i), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        const QRectF place = DynamicsPlot::CaptionPlace(i);
        Twips::Place(label, place.left(), place.top(), place.width(), place.height());
        m_scaleCaptions << label;
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setForegroundRole(QPalette::ButtonText);
    }
}

void GraphDecoration::SetScaleCaptions(const std::array<QString, 6> &captions)
{
    // Captions 4 and 5 stand at the axis, then 6 to 10 on the left and 11
    // to 15 on the right, one grid line up each.
    m_scaleCaptions[4]->setText(captions[0]);
    m_scaleCaptions[5]->setText(captions[0]);
    for (int line = 1; line < 6; ++line) {
        m_scaleCaptions[5 + line]->setText(captions[std::size_t(line)]);
        m_scaleCaptions[10 + line]->setText(captions[std::size_t(line)]);
    }
}

void GraphDecoration::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const auto fromBox = [](QPointF twips) {
        return QPointF(Twips::ToPixels(twips.x()), Twips::ToPixels(twips.y()));
    };
    const DynamicsPainter frame(painter, fromBox, 1, font(), DynamicsPainter::Medium::Screen);
    frame.PaintGrid();
    frame.PaintAxes();
}

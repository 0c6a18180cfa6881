#include "GraphDecoration.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr double CaptionSize = 255.0;
constexpr double GridLeft = 360.0;
constexpr double GridRight = 3600.0;
constexpr double GridTop = 480.0;
constexpr double GridBottom = 4200.0;

struct Caption
{
    double left, top;
    const char *text;
};

// Label1(0) to Label1(15): the x scale under the four columns, then the
// y scale, its captions on both sides of the grid. The y captions say the
// presses each grid line stands for at the designed 90 twips a press, as
// a result sets them again for the scale it is drawn at.
constexpr Caption Captions[GraphDecoration::ScaleCaptions] = {
    {720, 4200, "5"},   {1440, 4200, "10"}, {2160, 4200, "15"}, {2880, 4200, "20"},
    {120, 3960, "0"},   {3600, 3960, "0"},  {120, 3240, "8"},   {120, 2520, "16"},
    {120, 1800, "24"},  {120, 1080, "32"},  {120, 360, "40"},   {3600, 3240, "8"},
    {3600, 2520, "16"}, {3600, 1800, "24"}, {3600, 1080, "32"}, {3600, 360, "40"},
};
// A y caption may need more digits than its designed width holds once the
// scale grows: it is widened about the same centre.
constexpr double ScaleCaptionWidth = 480.0;
constexpr int FirstScaleCaption = 4;

} // namespace

GraphDecoration::GraphDecoration(QWidget *box) : QWidget(box)
{
    setObjectName(QStringLiteral("GraphDecoration"));
    setAccessibleName(QStringLiteral("Graph scale"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(box->rect());

    m_label2 = new QLabel(QStringLiteral("Dinamics DCH "), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    QFont captionFont = font();
    captionFont.setPointSizeF(9.75);
    m_label2->setFont(captionFont);
    Twips::Place(m_label2, 600, 120, 1335, 375);

    for (int i = 0; i < ScaleCaptions; ++i) {
        auto *label = new QLabel(QLatin1String(Captions[i].text), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        const double width = i < FirstScaleCaption ? CaptionSize : ScaleCaptionWidth;
        Twips::Place(label, Captions[i].left - (width - CaptionSize) / 2, Captions[i].top, width,
                     CaptionSize);
        m_label1 << label;
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setForegroundRole(QPalette::ButtonText);
    }
}

void GraphDecoration::SetScaleCaptions(const std::array<QString, 6> &captions)
{
    // Label1(4) and (5) stand at the axis, then (6) to (10) on the left and
    // (11) to (15) on the right, one grid line up each.
    m_label1[4]->setText(captions[0]);
    m_label1[5]->setText(captions[0]);
    for (int line = 1; line < 6; ++line) {
        m_label1[5 + line]->setText(captions[std::size_t(line)]);
        m_label1[10 + line]->setText(captions[std::size_t(line)]);
    }
}

QList<GraphDecoration::Rule> GraphDecoration::Rules()
{
    QList<Rule> rules;
    // Line4(3) to Line4(0) and Line3(2) to Line3(0): the grid.
    for (double y : {1200.0, 1920.0, 2640.0, 3360.0})
        rules << Rule{GridLeft, y, GridRight, y, true};
    for (double x : {2640.0, 1920.0, 1200.0})
        rules << Rule{x, GridTop, x, GridBottom, true};
    // Line1, Line2, Line4(4) and Line3(3): the axes and the closing lines.
    rules << Rule{480, GridTop, 480, GridBottom, false}
          << Rule{GridLeft, 4080, GridRight, 4080, false}
          << Rule{GridLeft, GridTop, GridRight, GridTop, false}
          << Rule{3360, GridTop, 3360, GridBottom, false};
    return rules;
}

void GraphDecoration::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    for (const Rule &rule : Rules()) {
        painter.setPen(QPen(rule.grey ? LightGrey() : Black(), 1));
        painter.drawLine(QPoint(Twips::ToPixels(rule.x1), Twips::ToPixels(rule.y1)),
                         QPoint(Twips::ToPixels(rule.x2), Twips::ToPixels(rule.y2)));
    }
}

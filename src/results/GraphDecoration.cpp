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
// y scale, its captions on both sides of the grid.
constexpr Caption Captions[GraphDecoration::ScaleCaptions] = {
    {720, 4200, "5"},   {1440, 4200, "10"}, {2160, 4200, "15"}, {2880, 4200, "20"},
    {120, 3960, "10"},  {3600, 3960, "10"}, {120, 3240, "16"},  {120, 2520, "22"},
    {120, 1800, "28"},  {120, 1080, "34"},  {120, 360, "40"},   {3600, 3240, "16"},
    {3600, 2520, "22"}, {3600, 1800, "28"}, {3600, 1080, "34"}, {3600, 360, "40"},
};

} // namespace

GraphDecoration::GraphDecoration(QWidget *box) : QWidget(box)
{
    setObjectName(QStringLiteral("GraphDecoration"));
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
        Twips::Place(label, Captions[i].left, Captions[i].top, CaptionSize, CaptionSize);
        m_label1 << label;
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setForegroundRole(QPalette::ButtonText);
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

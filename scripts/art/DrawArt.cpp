// Draws the program's artwork once; the PNG files it writes are committed
// and shipped inside the program, so this only runs when the pictures are
// redrawn: cmake --build --preset default --target drawart, then
// build/default/drawart resources/art (resources/velmora.svg, the icon for
// a desktop's scalable icons, is drawn by hand to the same measures)
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

// The classic 16-colour palette, which the program's screens use.
const QColor Green(0, 128, 0);
const QColor Lime(0, 255, 0);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Blue(0, 0, 255);
const QColor Grey(128, 128, 128);
const QColor Silver(192, 192, 192);

using Drawing = std::function<void(QPainter &)>;

bool save(const QString &directory, const char *name, QSize size, const Drawing &draw)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
    painter.end();
    const QString path = QDir(directory).filePath(QLatin1String(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "drawart: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The live diagram in small: a black panel with the dotted middle line and
// a rate trace that climbs in the green and sinks through yellow into red.
void diagram(QPainter &painter, const QRectF &panel, qreal pen)
{
    painter.fillRect(panel, Qt::black);
    const qreal w = panel.width();
    const qreal h = panel.height();
    painter.setPen(QPen(Grey, qMax<qreal>(1.0, pen / 2), Qt::DotLine));
    painter.drawLine(QPointF(panel.left(), panel.top() + h / 2),
                     QPointF(panel.right(), panel.top() + h / 2));
    const QPointF points[] = {{0.06, 0.78}, {0.22, 0.30}, {0.38, 0.22},
                              {0.54, 0.40}, {0.70, 0.58}, {0.94, 0.86}};
    const QColor colours[] = {Lime, Lime, Lime, Yellow, Red};
    for (int i = 0; i < 5; ++i) {
        painter.setPen(QPen(colours[i], pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(panel.topLeft() + QPointF(points[i].x() * w, points[i].y() * h),
                         panel.topLeft() + QPointF(points[i + 1].x() * w, points[i + 1].y() * h));
    }
}

// A key cap seen slightly from above, with a letter on it.
void keyCap(QPainter &painter, const QRectF &cap, const QString &letter, qreal letterPixels)
{
    painter.setPen(QPen(Grey, 1));
    painter.setBrush(Grey);
    painter.drawRoundedRect(cap, 3, 3);
    const QRectF top = cap.adjusted(2, 1, -2, -4);
    painter.setBrush(QColor(235, 235, 235));
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRoundedRect(top, 2, 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(letterPixels));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(top, Qt::AlignCenter, letter);
}

// The test window's picture; its subtitle names the test in the language
// of the windows it is shown in.
void testPicture(QPainter &painter, const QString &subtitle)
{
    // The tap: a key being struck, the marks of its speed, and the diagram.
    keyCap(painter, QRectF(1.5, 19.5, 24, 24), QStringLiteral("A"), 13);
    painter.setPen(QPen(Navy, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5, 9), QPointF(8.5, 13.5));
    painter.drawLine(QPointF(13.5, 5), QPointF(13.5, 12));
    painter.drawLine(QPointF(22, 9), QPointF(18.5, 13.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    diagram(painter, QRectF(29, 7, 32, 36), 2);
    painter.setPen(QPen(Silver, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(29, 7, 31, 35));
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Navy);
    painter.drawText(QRectF(65, 9, 68, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Velmora"));
    font.setBold(false);
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(Grey);
    painter.drawText(QRectF(66, 27, 67, 12), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
}

void aboutLogo(QPainter &painter)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(17);
    painter.setFont(font);
    painter.setPen(Navy);
    painter.drawText(QRectF(0, 0, 93, 22), Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Velmora"));
    painter.setRenderHint(QPainter::Antialiasing, false);
    diagram(painter, QRectF(4, 23, 60, 12), 1);
    painter.setRenderHint(QPainter::Antialiasing);
    font = QFont(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Green);
    painter.drawText(QRectF(66, 22, 27, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("2.0"));
}

void windowIcon(QPainter &painter)
{
    painter.setPen(QPen(Navy, 2));
    painter.setBrush(Navy);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    painter.setRenderHint(QPainter::Antialiasing, false);
    diagram(painter, QRectF(4, 4, 24, 16), 2);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Silver);
        painter.drawRoundedRect(QRectF(4 + i * 8.5, 22, 7, 7), 1.5, 1.5);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(5 + i * 8.5, 22.5, 5, 4.5), 1, 1);
    }
}

void saveIcon(QPainter &painter)
{
    // A diskette.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Navy);
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    painter.drawPath(body);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4, 2, 8, 5));
    painter.setBrush(Navy);
    painter.drawRect(QRectF(9, 2.5, 2, 3.5));
    painter.setBrush(Silver);
    painter.drawRect(QRectF(4, 9, 8, 5.5));
}

void printIcon(QPainter &painter)
{
    // A printer with a sheet coming out.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 1.5, 7, 5));
    painter.setBrush(Silver);
    painter.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 10.5, 7, 4));
    painter.setPen(QPen(Grey, 1));
    painter.drawLine(QPointF(6, 12.5), QPointF(10, 12.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Lime);
    painter.drawEllipse(QRectF(11.5, 7.8, 2, 2));
}

void clearIcon(QPainter &painter)
{
    // A sheet of records struck out in red.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 1.5, 10, 13));
    painter.setPen(QPen(Grey, 1));
    for (int y = 4; y <= 12; y += 2)
        painter.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
    painter.setPen(QPen(Red, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 7), QPointF(14, 15));
    painter.drawLine(QPointF(14, 7), QPointF(6, 15));
}

void helpIcon(QPainter &painter)
{
    // A question mark in a blue disc.
    painter.setPen(QPen(Navy, 1));
    painter.setBrush(Blue);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawart <directory>\n");
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= save(directory, "test.png", {133, 48},
               [](QPainter &painter) { testPicture(painter, QStringLiteral("tapping test")); });
    ok &= save(directory, "test-ru.png", {133, 48},
               [](QPainter &painter) { testPicture(painter, QStringLiteral("теппинг-тест")); });
    ok &= save(directory, "logo.png", {93, 36}, aboutLogo);
    ok &= save(directory, "velmora.png", {32, 32}, windowIcon);
    ok &= save(directory, "save.png", {16, 16}, saveIcon);
    ok &= save(directory, "print.png", {16, 16}, printIcon);
    ok &= save(directory, "clear.png", {16, 16}, clearIcon);
    ok &= save(directory, "help.png", {16, 16}, helpIcon);
    // The same icon at the other sizes a desktop asks for, drawn anew at
    // each rather than scaled from the 32-pixel picture.
    for (const int size : {16, 48, 64, 128, 256}) {
        const QByteArray name = "velmora-" + QByteArray::number(size) + ".png";
        ok &= save(directory, name.constData(), {size, size}, [size](QPainter &painter) {
            painter.scale(size / 32.0, size / 32.0);
            windowIcon(painter);
        });
    }
    return ok ? 0 : 1;
}

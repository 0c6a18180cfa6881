#include "PictureBox.h"

#include "KeyCodes.h"
#include "Twips.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    FitImage();
}

void PictureBox::SetBackColor(const QColor &colour)
{
    m_backColour = colour;
    Cls();
}

void PictureBox::Cls()
{
    FitImage();
    m_image.fill(m_backColour);
    update();
}

void PictureBox::SetScaleOrigin(double left, double top)
{
    m_scaleLeft = left;
    m_scaleTop = top;
}

double PictureBox::ScaleWidth() const
{
    return Twips::FromPixels(width());
}

double PictureBox::ScaleHeight() const
{
    return Twips::FromPixels(height());
}

namespace {

// Pixels far beyond any screen yet well inside int, so a point however far
// off the box (or not a number at all) still converts to a defined pixel and
// the painter clips the line instead of meeting an overflowed coordinate.
constexpr double FarPixels = 1 << 24;

int wholePixels(double pixels)
{
    if (std::isnan(pixels))
        return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -FarPixels, FarPixels)));
}

} // namespace

QPoint PictureBox::ToPixel(QPointF user) const
{
    const double perPixel = Twips::PerPixel();
    return {wholePixels((user.x() - m_scaleLeft) / perPixel),
            wholePixels((user.y() - m_scaleTop) / perPixel)};
}

void PictureBox::Line(QPointF from, QPointF to, const QColor &colour)
{
    FitImage();
    QPainter painter(&m_image);
    QPen pen(colour, m_drawWidth);
    if (m_drawWidth == 1 && m_drawStyle == PenStyle::Dot)
        pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawLine(ToPixel(from), ToPixel(to));
    update();
}

void PictureBox::FillBox(QPointF corner, QPointF opposite, const QColor &colour)
{
    FitImage();
    const QPoint a = ToPixel(corner);
    const QPoint b = ToPixel(opposite);
    const QRect box(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())),
                    QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
    const QRect visible = box.intersected(m_image.rect());
    if (visible.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.fillRect(visible, colour);
    update(visible);
}

void PictureBox::PaintPicture(const QImage &picture, QPoint at)
{
    FitImage();
    QPainter painter(&m_image);
    painter.drawImage(at, picture);
    update();
}

bool PictureBox::event(QEvent *event)
{
    // The box takes keys only while a person is being tested, and then every
    // key is just a key: no shortcut or menu mnemonic fires, a lone Alt does
    // not send the focus to the menu bar, Tab and Backtab do not move it.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    FitImage();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    FitImage();
    QWidget::resizeEvent(event);
}

void PictureBox::FitImage()
{
    // A hidden widget hears of its size only when first shown, so the image
    // follows the widget's size before every use instead.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (m_image.size() == wanted)
        return;
    QImage fitted(wanted, QImage::Format_RGB32);
    fitted.fill(m_backColour);
    QPainter painter(&fitted);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = fitted;
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    emit KeyDown(KeyCodes::FromEvent(*event));
    event->accept();
}

void PictureBox::keyReleaseEvent(QKeyEvent *event)
{
    // X11 reports a held key as a stream of release and press pairs
    // flagged as auto-repeat; only the real release counts.
    if (!event->isAutoRepeat())
        emit KeyUp(KeyCodes::FromEvent(*event));
    event->accept();
}

#include "PictureBox.h"

#include "Twips.h"
#include "platform/input/DetectableAutoRepeat.h"
#include "platform/input/KeyCodes.h"

#include <QAbstractEventDispatcher>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent), m_releasesMayRepeat(DetectableAutoRepeat::ReleasesMayRepeat())
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
    const QRect visible =
        box.intersected(QRect(QPoint(), m_image.deviceIndependentSize().toSize()));
    if (visible.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.fillRect(visible, colour);
    update(visible);
}

void PictureBox::Draw(const std::function<void(QPainter &)> &draw)
{
    FitImage();
    QPainter painter(&m_image);
    draw(painter);
    painter.end();
    update();
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
    const QRect area = event->rect();
    const qreal ratio = m_image.devicePixelRatio();
    painter.drawImage(area, m_image,
                      QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    FitImage();
    QWidget::resizeEvent(event);
}

void PictureBox::FitImage()
{
    // A hidden widget hears of its size only when first shown, so the image
    // follows the widget's size before every use instead. It has as many
    // pixels as the screen shows there: on a scaled (HiDPI) screen a line
    // drawn into it is as sharp as the text beside it, instead of drawn at
    // the widget's logical size and blown up into blocks.
    const qreal ratio = devicePixelRatioF();
    const QSize wanted = (QSizeF(size().expandedTo(QSize(1, 1))) * ratio).toSize();
    if (m_image.size() == wanted && m_image.devicePixelRatio() == ratio)
        return;
    QImage fitted(wanted, QImage::Format_RGB32);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(m_backColour);
    QPainter painter(&fitted);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = fitted;
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    // Without detectable auto-repeat an X server repeats a held key as a
    // release and a press of the same key with the same time stamp, sent
    // together; a press that matches the release held back shows that
    // release to have been a repeat. This looks only at what the server
    // sent, never at how soon it was read.
    if (m_heldRelease) {
        const bool repeat = m_heldRelease->scanCode == event->nativeScanCode() &&
                            m_heldRelease->timestamp == event->timestamp();
        if (repeat)
            m_heldRelease.reset();
        else
            ReportHeldRelease();
    }
    emit KeyDown(KeyCodes::FromEvent(*event));
    event->accept();
}

void PictureBox::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    // Qt flags the repeats it has recognised; only the real release counts.
    if (event->isAutoRepeat())
        return;
    ReportHeldRelease();
    if (m_releasesMayRepeat && event->nativeScanCode() != 0) {
        // Kept until the program has handled the events it has and is about
        // to wait for more; it is decided then, or by the next press.
        m_heldRelease =
            HeldRelease{KeyCodes::FromEvent(*event), event->nativeScanCode(), event->timestamp()};
        if (auto *dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                    &PictureBox::DecideHeldRelease, Qt::SingleShotConnection);
        return;
    }
    emit KeyUp(KeyCodes::FromEvent(*event), event->timestamp());
}

void PictureBox::DecideHeldRelease()
{
    if (!m_heldRelease)
        return;
    // A key the server holds down again after the release will bring a
    // press: the repeat's, with the release's time stamp, or a new one.
    // That press decides, however late it is read. A key that is up was
    // really let go.
    if (DetectableAutoRepeat::IsKeyDown(m_heldRelease->scanCode).value_or(false))
        return;
    ReportHeldRelease();
}

void PictureBox::ReportHeldRelease()
{
    if (!m_heldRelease)
        return;
    const HeldRelease held = *m_heldRelease;
    m_heldRelease.reset();
    // A box that was disabled meanwhile (the run ended) takes no key.
    if (isEnabled())
        emit KeyUp(held.code, held.timestamp);
}

void PictureBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_heldRelease.reset();
    QWidget::changeEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    ReportHeldRelease();
    QWidget::focusOutEvent(event);
}

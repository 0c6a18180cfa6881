#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QPainter;

// A drawing surface that keeps what is drawn on it: every line and box goes
// into a backing image, which is painted back whenever the window system
// asks, so a diagram survives being covered and uncovered. Drawing is given
// in twips from a movable origin; pen widths are in pixels. Setting the
// background colour erases the drawing, as the program's screens expect.
// Keys pressed and released in the box are reported by code, one release
// per physical release (keyboard auto-repeat is not a release), each
// release with the time stamp the window system gave it, and Tab counts as
// a key here instead of moving the focus.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    enum class PenStyle { Solid, Dot };

    explicit PictureBox(QWidget *parent = nullptr);

    void SetBackColor(const QColor &colour);
    QColor BackColor() const { return m_backColour; }
    // Erases the drawing to the background colour.
    void Cls();

    void SetDrawWidth(int pixels) { m_drawWidth = qMax(1, pixels); }
    int DrawWidth() const { return m_drawWidth; }
    // Dots are drawn only with a 1-pixel pen; a wider pen is always solid.
    void SetDrawStyle(PenStyle style) { m_drawStyle = style; }
    PenStyle DrawStyle() const { return m_drawStyle; }

    // The user coordinates of the box's top-left corner, in twips.
    void SetScaleOrigin(double left, double top);
    double ScaleWidth() const;
    double ScaleHeight() const;

    // A straight line between two points in user coordinates.
    void Line(QPointF from, QPointF to, const QColor &colour);
    // A filled box between two corners, both edges included, so even a box
    // narrower than a pixel paints one.
    void FillBox(QPointF corner, QPointF opposite, const QColor &colour);

    // For a picture made of more than lines: draw paints on the kept
    // drawing with a painter in the widget's pixels, where ToPixel puts a
    // point.
    void Draw(const std::function<void(QPainter &)> &draw);

    // Copies a picture onto the drawing, its top-left corner at a pixel.
    void PaintPicture(const QImage &picture, QPoint at = {});

    // The drawing as kept: in the screen's own pixels, which are the
    // widget's pixels unless the screen is scaled.
    const QImage &Image()
    {
        FitImage();
        return m_image;
    }
    QPoint ToPixel(QPointF user) const;

    // Whether a release that Qt has not flagged as a repeat may still be
    // one, so it is held back until the events read with it show what it
    // was. Set from the platform when the box is made.
    void SetReleasesMayRepeat(bool may) { m_releasesMayRepeat = may; }

signals:
    void KeyDown(std::int16_t code);
    // timestamp: when the key was let go, in the window system's
    // milliseconds (QInputEvent::timestamp()); 0 when it gave none.
    void KeyUp(std::int16_t code, quint64 timestamp);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct HeldRelease
    {
        std::int16_t code = 0;
        quint32 scanCode = 0;
        quint64 timestamp = 0;
    };

    void FitImage();
    // Reports a held-back release once it is known to be no repeat.
    void DecideHeldRelease();
    // Reports a held-back release, unless the box no longer takes keys.
    void ReportHeldRelease();

    QImage m_image;
    QColor m_backColour{Qt::white};
    int m_drawWidth = 1;
    PenStyle m_drawStyle = PenStyle::Solid;
    double m_scaleLeft = 0.0;
    double m_scaleTop = 0.0;
    bool m_releasesMayRepeat = false;
    std::optional<HeldRelease> m_heldRelease;
};

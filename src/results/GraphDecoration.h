#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

#include <array>

class QLabel;

// The fixed frame of the dynamics graph: axes, grid, the caption and the
// sixteen scale captions. It lies over the whole picture box as a layer of
// its own, above everything drawn on the box, so clearing the box for a
// new result never erases it and a plotted line never covers an axis. It
// takes no mouse clicks and no focus.
class GraphDecoration : public QWidget
{
    Q_OBJECT

public:
    struct Rule
    {
        // Box coordinates, in twips.
        double x1, y1, x2, y2;
        bool grey;
    };

    static constexpr int ScaleCaptions = 16;

    // Lays itself over the whole of box.
    explicit GraphDecoration(QWidget *box);

    static QColor Black() { return {0, 0, 0}; }
    static QColor LightGrey() { return {224, 224, 224}; }
    // Every line of the frame, the light grey ones first.
    static QList<Rule> Rules();

    // The y captions, from the axis up, on both sides of the grid.
    void SetScaleCaptions(const std::array<QString, 6> &captions);

    QLabel *Label2() const { return m_label2; }
    QLabel *Label1(int index) const { return m_label1.value(index); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label2 = nullptr;
    QList<QLabel *> m_label1;
};

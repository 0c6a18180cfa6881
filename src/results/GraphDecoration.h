#pragma once

#include "DynamicsPlot.h"

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
    static constexpr int ScaleCaptions = DynamicsPlot::CaptionCount;

    // Lays itself over the whole of box.
    explicit GraphDecoration(QWidget *box);

    static QColor Black() { return DynamicsPlot::AxisColour(); }
    static QColor LightGrey() { return DynamicsPlot::GridColour(); }

    // The y captions, from the axis up, on both sides of the grid.
    void SetScaleCaptions(const std::array<QString, 6> &captions);

    QLabel *Title() const { return m_title; }
    QLabel *ScaleCaption(int index) const { return m_scaleCaptions.value(index); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_title = nullptr;
    QList<QLabel *> m_scaleCaptions;
};

#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>

// Where the dynamics graph puts the four counts, its trend and its scale,
// worked out once for the results window and for the printed report alike.
// The graph is in graph coordinates (twips; origin where the axes cross, y
// downward, values above the axis at negative y). Five grid lines, 720
// twips apart, stand above the axis; at the designed scale of 90 twips a
// key press they stand for 8, 16, 24, 32 and 40 presses, and the captions
// say so. When a count or the trend would rise above the top grid line (or
// reach below the room under the axis), the whole graph is drawn at the
// smallest scale with round grid values at which it fits, and the captions
// follow, so every value can be read off the graph as it was counted.
// It also holds the fixed frame around the graph (axes, grid, caption and
// scale captions, in the twips of the box the graph is drawn in) and the
// colours of it all, so the window and the printed report draw one graph.
class DynamicsPlot
{
    Q_DECLARE_TR_FUNCTIONS(DynamicsPlot)

public:
    static constexpr float DesignedTwipsPerPress = 90.0F;
    static constexpr int GridLines = 5;
    static constexpr double GridPitch = 720.0;
    static constexpr double TopY = -GridLines * GridPitch;
    // How far under the axis the box still shows a value.
    static constexpr double RoomBelow = 600.0;
    static constexpr float FirstX = 360.0F;
    static constexpr float ColumnWidth = 720.0F;
    static constexpr float TrendFromX = 0.0F;
    static constexpr float TrendToX = 3100.0F;

    // The box the graph is drawn in, and where in it the axes cross.
    static constexpr double BoxWidth = 4215.0;
    static constexpr double BoxHeight = 4695.0;
    static constexpr double OriginX = 480.0;
    static constexpr double OriginY = 4080.0;
    // How far a count's number stands off its point.
    static constexpr double CountGap = 45.0;

    static QColor LineColour() { return {255, 0, 0}; }
    static QColor TrendColour() { return {128, 128, 128}; }
    // The counts' numbers and the scale, in the text colour.
    static QColor TextColour() { return {0, 0, 0}; }
    static QColor AxisColour() { return {0, 0, 0}; }
    static QColor GridColour() { return {224, 224, 224}; }

    // A line of the frame, in box twips.
    struct Rule
    {
        double x1, y1, x2, y2;
        bool grey;
    };
    // Every line of the frame, the grey grid first, so the black axes and
    // closing lines lie over it.
    static QList<Rule> Rules();

    // The graph's caption at the top of the box, and its size in points.
    static QString Title() { return tr("Dinamics DCH "); }
    static QRectF TitlePlace() { return {600, 120, 1335, 375}; }
    static constexpr double TitlePoints = 9.75;
    // The sixteen scale captions: the seconds under the four columns
    // (0 to 3), then the presses at the axis on the left and on the right
    // (4, 5), then the five grid lines on the left (6 to 10) and on the
    // right (11 to 15), each centred in its place, at this plot's scale.
    static constexpr int CaptionCount = 16;
    static constexpr double CaptionPoints = 8.25;
    static QRectF CaptionPlace(int caption);
    QString CaptionText(int caption) const;

    DynamicsPlot(float value1, float value2, float value3, float value4);

    // Key presses between two neighbouring grid lines (8 at the designed
    // scale) and twips a press.
    double PressesPerGridLine() const { return m_pressesPerLine; }
    float TwipsPerPress() const { return m_twipsPerPress; }
    // The captions of the axis and the five grid lines, from the axis up.
    std::array<QString, GridLines + 1> ScaleCaptions() const;

    // The four points at the middles of their columns.
    const std::array<QPointF, 4> &Points() const { return m_points; }
    // The dotted trend, across the whole graph.
    QLineF Trend() const { return m_trend; }
    // The count to write beside each point, and whether it goes under the
    // point (near the top, where the graph's caption is) rather than over.
    QString CountText(int point) const;
    bool CountBelow(int point) const;

private:
    std::array<float, 4> m_values{};
    double m_pressesPerLine = 8.0;
    float m_twipsPerPress = DesignedTwipsPerPress;
    std::array<QPointF, 4> m_points{};
    QLineF m_trend;
};

#include "DynamicsPlot.h"

#include <algorithm>
#include <cmath>

namespace {

// Grid values that read well: 1, 1.2, 1.6, 2, 2.4, 3, 4, 5, 6 and 8 times
// a power of ten, from the designed 8 a line up to far beyond any count.
constexpr std::array<double, 10> Mantissas{1.0, 1.2, 1.6, 2.0, 2.4, 3.0, 4.0, 5.0, 6.0, 8.0};
constexpr double DesignedPerLine = 8.0;
constexpr double LargestPerLine = 1e6;

// The trend in key presses at x, through the mean of the first two counts
// in the middle of their columns and of the last two in theirs.
double trendAt(const std::array<float, 4> &v, double x)
{
    const double a = (double(v[0]) + double(v[1])) / 2.0;
    const double b = (double(v[2]) + double(v[3])) / 2.0;
    const double xA = DynamicsPlot::FirstX + DynamicsPlot::ColumnWidth / 2.0;
    return a + (x - xA) * (b - a) / (2.0 * DynamicsPlot::ColumnWidth);
}

bool fits(double highest, double lowest, double perLine)
{
    const double twipsPerPress = DynamicsPlot::GridPitch / perLine;
    return highest <= perLine * DynamicsPlot::GridLines &&
           -lowest * twipsPerPress <= DynamicsPlot::RoomBelow;
}

double perLineFor(double highest, double lowest)
{
    if (fits(highest, lowest, DesignedPerLine))
        return DesignedPerLine;
    for (double power = 10.0; power <= LargestPerLine; power *= 10.0) {
        for (double mantissa : Mantissas) {
            if (fits(highest, lowest, mantissa * power))
                return mantissa * power;
        }
    }
    // Nothing a history can hold comes here; beyond it the box cuts the
    // lines off.
    return LargestPerLine;
}

} // namespace

DynamicsPlot::DynamicsPlot(float value1, float value2, float value3, float value4)
    : m_values{value1, value2, value3, value4}
{
    double highest = 0.0;
    double lowest = 0.0;
    const auto take = [&](double value) {
        if (std::isnan(value))
            return;
        highest = std::max(highest, value);
        lowest = std::min(lowest, value);
    };
    for (float value : m_values)
        take(value);
    take(trendAt(m_values, TrendFromX));
    take(trendAt(m_values, TrendToX));
    m_pressesPerLine = perLineFor(highest, lowest);
    m_twipsPerPress = static_cast<float>(GridPitch / m_pressesPerLine);

    // Single precision, in the same order of operations as the graph was
    // always drawn, so at the designed scale every point and the trend fall
    // on the same twips as before.
    std::array<float, 4> y{};
    for (std::size_t i = 0; i < y.size(); ++i) {
        y[i] = m_values[i] * -m_twipsPerPress;
        m_points[i] = QPointF(FirstX + ColumnWidth * float(i), y[i]);
    }
    const float xA = FirstX + ColumnWidth / 2.0F;
    const float yA = (y[0] + y[1]) / 2.0F;
    const float yB = (y[2] + y[3]) / 2.0F;
    const float run = 2.0F * ColumnWidth;
    const auto trend = [&](float at) {
        return yA + (at - xA) * (yB - yA) / run;
    };
    m_trend = QLineF(TrendFromX, trend(TrendFromX), TrendToX, trend(TrendToX));
}

std::array<QString, DynamicsPlot::GridLines + 1> DynamicsPlot::ScaleCaptions() const
{
    std::array<QString, GridLines + 1> captions;
    for (std::size_t line = 0; line < captions.size(); ++line)
        captions[line] = QString::number(m_pressesPerLine * double(line), 'g', 7);
    return captions;
}

QString DynamicsPlot::CountText(int point) const
{
    const float value = m_values.at(std::size_t(point));
    return std::isfinite(value) ? QString::number(double(value), 'g', 7) : QString();
}

QList<DynamicsPlot::Rule> DynamicsPlot::Rules()
{
    constexpr double left = 360.0;
    constexpr double right = 3600.0;
    constexpr double top = 480.0;
    constexpr double bottom = 4200.0;
    QList<Rule> rules;
    for (double y : {1200.0, 1920.0, 2640.0, 3360.0})
        rules << Rule{left, y, right, y, true};
    for (double x : {2640.0, 1920.0, 1200.0})
        rules << Rule{x, top, x, bottom, true};
    // The y axis, the x axis, the top line and the right line.
    rules << Rule{OriginX, top, OriginX, bottom, false}
          << Rule{left, OriginY, right, OriginY, false} << Rule{left, top, right, top, false}
          << Rule{3360, top, 3360, bottom, false};
    return rules;
}

QRectF DynamicsPlot::CaptionPlace(int caption)
{
    constexpr double size = 255.0;
    // A y caption may need more digits than the designed width holds once
    // the scale grows: it is widened about the same centre.
    constexpr double scaleWidth = 480.0;
    constexpr double widened = (scaleWidth - size) / 2.0;
    if (caption < 4)
        return {720.0 + 720.0 * caption, 4200.0, size, size};
    const bool right = caption == 5 || caption > 10;
    const int line = caption < 6 ? 0 : (caption - 6) % GridLines + 1;
    return {(right ? 3600.0 : 120.0) - widened, 3960.0 - GridPitch * line, scaleWidth, size};
}

QString DynamicsPlot::CaptionText(int caption) const
{
    if (caption < 4)
        return QString::number(5 * (caption + 1));
    const int line = caption < 6 ? 0 : (caption - 6) % GridLines + 1;
    return ScaleCaptions().at(std::size_t(line));
}

bool DynamicsPlot::CountBelow(int point) const
{
    // The upper fifth of the grid holds the graph's caption.
    return m_points.at(std::size_t(point)).y() < TopY + GridPitch;
}

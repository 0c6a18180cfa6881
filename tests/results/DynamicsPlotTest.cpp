// Where the dynamics graph puts its points, its trend and its scale: the
// designed scale stays for everything that fits under the top grid line,
// the captions always say the presses the line is drawn at, and a graph
// that would leave its box is drawn at a round scale at which it fits.
#include "results/DynamicsPlot.h"

#include <QTest>

using Values = std::array<float, 4>;
using Captions = QStringList;

class DynamicsPlotTest : public QObject
{
    Q_OBJECT

private slots:
    void scale_data();
    void scale();
    void everythingDrawnFits_data();
    void everythingDrawnFits();
};

void DynamicsPlotTest::scale_data()
{
    QTest::addColumn<Values>("values");
    QTest::addColumn<Captions>("captions");
    QTest::addColumn<QList<double>>("pointYs");
    QTest::addColumn<QLineF>("trend");
    QTest::newRow("level at the top line: the designed scale")
        << Values{40, 40, 40, 40} << Captions{"0", "8", "16", "24", "32", "40"}
        << QList<double>{-3600, -3600, -3600, -3600} << QLineF(0, -3600, 3100, -3600);
    QTest::newRow("19 reads 19 on the designed scale")
        << Values{19, 25, 30, 22} << Captions{"0", "8", "16", "24", "32", "40"}
        << QList<double>{-1710, -2250, -2700, -1980} << QLineF(0, -1800, 3100, -2575);
    QTest::newRow("60 leaves the box: 12 a line")
        << Values{19, 47, 8, 60} << Captions{"0", "12", "24", "36", "48", "60"}
        << QList<double>{-1140, -2820, -480, -3600} << QLineF(0, -1950, 3100, -2079.17);
    // Every point fits, but the trend would run through the caption.
    QTest::newRow("rising trend: 10 a line")
        << Values{30, 34, 38, 42} << Captions{"0", "10", "20", "30", "40", "50"}
        << QList<double>{-2160, -2448, -2736, -3024} << QLineF(0, -2016, 3100, -3256);
    QTest::newRow("ten presses a second")
        << Values{50, 50, 49, 48} << Captions{"0", "12", "24", "36", "48", "60"}
        << QList<double>{-3000, -3000, -2940, -2880} << QLineF(0, -3045, 3100, -2851.25);
    // The trend's far end reaches well below the axis.
    QTest::newRow("collapsing rate")
        << Values{60, 50, 10, 0} << Captions{"0", "40", "80", "120", "160", "200"}
        << QList<double>{-1080, -900, -180, 0} << QLineF(0, -1440, 3100, 497.5);
}

void DynamicsPlotTest::scale()
{
    QFETCH(Values, values);
    QFETCH(Captions, captions);
    QFETCH(QList<double>, pointYs);
    QFETCH(QLineF, trend);
    const DynamicsPlot plot(values[0], values[1], values[2], values[3]);
    const auto scale = plot.ScaleCaptions();
    QCOMPARE(Captions(scale.begin(), scale.end()), captions);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(plot.Points()[std::size_t(i)].x(), 360.0 + 720.0 * i);
        QCOMPARE(plot.Points()[std::size_t(i)].y(), pointYs[i]);
        QCOMPARE(plot.CountText(i), QString::number(values[std::size_t(i)]));
    }
    QCOMPARE(plot.Trend().x1(), trend.x1());
    QCOMPARE(plot.Trend().x2(), trend.x2());
    QVERIFY(qAbs(plot.Trend().y1() - trend.y1()) < 0.01);
    QVERIFY(qAbs(plot.Trend().y2() - trend.y2()) < 0.01);
}

void DynamicsPlotTest::everythingDrawnFits_data()
{
    QTest::addColumn<Values>("values");
    QTest::newRow("16-bit extremes") << Values{32767, -32768, 0, 32767};
    QTest::newRow("all at the largest count") << Values{32767, 32767, 32767, 32767};
    QTest::newRow("negative counts from a damaged record") << Values{-5, -40, 3, 12};
    QTest::newRow("a lone large first count") << Values{300, 0, 0, 0};
    QTest::newRow("just above the top line") << Values{41, 40, 40, 40};
}

// Whatever the counts a history can hold, every point and both ends of the
// trend lie between the room under the axis and the top grid line.
void DynamicsPlotTest::everythingDrawnFits()
{
    QFETCH(Values, values);
    const DynamicsPlot plot(values[0], values[1], values[2], values[3]);
    QList<double> ys{plot.Trend().y1(), plot.Trend().y2()};
    for (const QPointF &point : plot.Points())
        ys << point.y();
    for (double y : ys) {
        QVERIFY2(y >= DynamicsPlot::TopY - 0.5, qPrintable(QString::number(y)));
        QVERIFY2(y <= DynamicsPlot::RoomBelow + 0.5, qPrintable(QString::number(y)));
    }
    // The captions still name what the top line stands for.
    QCOMPARE(plot.ScaleCaptions().back().toDouble(), plot.PressesPerGridLine() * 5);
    QVERIFY(plot.PressesPerGridLine() > 8);
}

QTEST_GUILESS_MAIN(DynamicsPlotTest)
#include "DynamicsPlotTest.moc"

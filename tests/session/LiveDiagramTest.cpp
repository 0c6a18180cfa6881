// The live diagram as the tested person sees it: the zone colours, the
// strips painted into the diagram area's backing image at the designed
// height, and the idle colour cycle between runs.
#include "session/LiveDiagram.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "session/IdleColourCycle.h"

#include <QTest>

namespace {

const QColor Black(0, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Green(0, 255, 0);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);

QColor pixel(PictureBox &box, QPointF twips)
{
    return box.Image().pixelColor(box.ToPixel(twips));
}

} // namespace

class LiveDiagramTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void zones_data();
    void zones();
    void referenceLines();
    void firstStepsOfARun();
    void stripsLeavingTheAreaAreClipped();
    void idleCycle_data();
    void idleCycle();
    void idleCycleRanges();
};

void LiveDiagramTest::initTestCase()
{
    // The geometry below is in twips of a 96 DPI screen.
    QCOMPARE(Twips::PerPixel(), 15.0);
}

void LiveDiagramTest::zones_data()
{
    QTest::addColumn<float>("penY");
    QTest::addColumn<QColor>("colour");
    // Designed height 2895 twips: centre 1447.5, band 1347.5 to 1547.5.
    QTest::newRow("top edge of band is yellow") << 1347.5F << Yellow;
    QTest::newRow("just above the band is green") << 1347.4F << Green;
    QTest::newRow("bottom edge of band is yellow") << 1547.5F << Yellow;
    QTest::newRow("just below the band is red") << 1547.6F << Red;
    QTest::newRow("centre is yellow") << 1447.5F << Yellow;
    QTest::newRow("far above the area is green") << -5000.0F << Green;
    QTest::newRow("far below the area is red") << 90000.0F << Red;
}

void LiveDiagramTest::zones()
{
    QFETCH(float, penY);
    QTEST(LiveDiagram::ZoneColour(penY, 2895.0F), "colour");
}

void LiveDiagramTest::referenceLines()
{
    PictureBox box;
    box.resize(585, 193); // 8775 x 2895 twips
    box.SetBackColor(Black);
    LiveDiagram::DrawReferenceLines(box);
    // The centre line across the whole width, the start line at a tenth of
    // the width over the whole height.
    for (double x : {0.0, 4000.0, 8760.0})
        QCOMPARE(pixel(box, {x, 1447.5}), Blue);
    for (double y : {0.0, 700.0, 2880.0})
        QCOMPARE(pixel(box, {877.5, y}), Blue);
    QCOMPARE(pixel(box, {4000.0, 1000.0}), Black);
}

// The second release of a run lifts the pen to 1287.5 (green mark); four
// drift ticks lower it through the band to 1547.5 (yellow, the band's
// lower limit) and the fifth to 1612.5 (red).
void LiveDiagramTest::firstStepsOfARun()
{
    PictureBox box;
    box.resize(585, 193);
    box.SetBackColor(Black);
    LiveDiagram diagram;
    diagram.PlacePen(box);
    QCOMPARE(diagram.PenX(), float(box.ScaleWidth() / 10));
    QCOMPARE(diagram.PenY(), 1447.5F);

    struct Step
    {
        bool key;
        float penY;
        QColor colour;
    };
    const Step steps[] = {{true, 1287.5F, Green},   {false, 1352.5F, Yellow},
                          {false, 1417.5F, Yellow}, {false, 1482.5F, Yellow},
                          {false, 1547.5F, Yellow}, {false, 1612.5F, Red}};
    float x = diagram.PenX();
    for (const Step &step : steps) {
        diagram.DrawDiagramStep(box, step.key);
        x += 10.0F;
        QCOMPARE(diagram.PenX(), x);
        QCOMPARE(diagram.PenY(), step.penY);
        QCOMPARE(pixel(box, {x + 5, step.penY}), step.colour);
        if (step.key) {
            // A key step is a flat mark at the pen, nothing towards the centre.
            QCOMPARE(pixel(box, {x + 5, step.penY + 45}), Black);
        } else {
            // A drift step paints from the centre line to the pen.
            QCOMPARE(pixel(box, {x + 5, (1447.5 + step.penY) / 2}), step.colour);
        }
    }
}

void LiveDiagramTest::stripsLeavingTheAreaAreClipped()
{
    PictureBox box;
    box.resize(585, 193);
    box.SetBackColor(Black);
    LiveDiagram diagram;
    diagram.SetPen(877.5F, 1447.5F);
    for (int i = 0; i < 40; ++i)
        diagram.DrawDiagramStep(box, true);
    QVERIFY(diagram.PenY() < 0);
    QCOMPARE(box.Image().size(), QSize(585, 193));
    for (int i = 0; i < 200; ++i)
        diagram.DrawDiagramStep(box, false);
    QVERIFY(diagram.PenY() > 2895);
    // The last drift strips run from the centre past the bottom edge.
    QCOMPARE(pixel(box, {diagram.PenX() + 5.0, 2880.0}), Red);
}

void LiveDiagramTest::idleCycle_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("first tick") << 1 << QColor(5, 3, 245);
    QTest::newRow("second tick") << 2 << QColor(10, 6, 240);
    QTest::newRow("blue reaches 0 and turns") << 50 << QColor(250, 150, 0);
    QTest::newRow("red passes 250 and turns") << 51 << QColor(255, 153, 1);
    QTest::newRow("red falls by one") << 52 << QColor(254, 156, 2);
    QTest::newRow("green passes 250 and turns") << 84 << QColor(222, 252, 34);
    QTest::newRow("green falls by three") << 85 << QColor(221, 249, 35);
}

void LiveDiagramTest::idleCycle()
{
    QFETCH(int, ticks);
    IdleColourCycle cycle;
    QColor colour;
    for (int i = 0; i < ticks; ++i)
        colour = cycle.Tick();
    QTEST(colour, "colour");
    QCOMPARE(cycle.Colour(), colour);
}

void LiveDiagramTest::idleCycleRanges()
{
    IdleColourCycle cycle;
    // The load values count: red and green start at 0.
    int low[3] = {0, 0, 250};
    int high[3] = {0, 0, 250};
    for (int i = 0; i < 5000; ++i) {
        const QColor c = cycle.Tick();
        const int parts[3] = {c.red(), c.green(), c.blue()};
        for (int k = 0; k < 3; ++k) {
            low[k] = qMin(low[k], parts[k]);
            high[k] = qMax(high[k], parts[k]);
        }
    }
    QCOMPARE(QList<int>({low[0], low[1], low[2]}), QList<int>({0, 0, 0}));
    QCOMPARE(QList<int>({high[0], high[1], high[2]}), QList<int>({255, 252, 251}));
}

QTEST_MAIN(LiveDiagramTest)
#include "LiveDiagramTest.moc"

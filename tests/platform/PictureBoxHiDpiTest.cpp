// The drawing surface on a scaled screen (QT_SCALE_FACTOR=2, as on a HiDPI
// display): what is drawn lands where it was drawn, and a line is drawn at
// the screen's own resolution, not at the widget's logical size and then
// blown up into 2 x 2 blocks beside crisp text.
#include "platform/ui/PictureBox.h"

#include <QTest>

class PictureBoxHiDpiTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private slots:
    void drawingLandsWhereDrawn();
    void linesAtTheScreensResolution();
};

namespace {

QImage shown(PictureBox &box)
{
    box.show();
    if (!QTest::qWaitForWindowExposed(&box))
        return {};
    return box.grab().toImage();
}

} // namespace

void PictureBoxHiDpiTest::drawingLandsWhereDrawn()
{
    PictureBox box;
    box.resize(100, 60);
    box.SetBackColor(Qt::black);
    // Logical pixels 10..30 by 10..20 (15 twips a pixel).
    box.FillBox({150, 150}, {450, 300}, Qt::green);
    const QImage screen = shown(box);
    QCOMPARE(screen.devicePixelRatio(), 2.0);
    QCOMPARE(screen.size(), QSize(200, 120));
    QCOMPARE(screen.pixelColor(40, 30), QColor(Qt::green));
    QCOMPARE(screen.pixelColor(61, 41), QColor(Qt::green));
    QCOMPARE(screen.pixelColor(100, 30), QColor(Qt::black));
    QCOMPARE(screen.pixelColor(40, 70), QColor(Qt::black));
}

void PictureBoxHiDpiTest::linesAtTheScreensResolution()
{
    PictureBox box;
    box.resize(100, 60);
    box.SetBackColor(Qt::black);
    // A shallow line, 1 pixel in 3: drawn at the screen's resolution its
    // upper edge steps down on odd screen rows too; blown up from logical
    // pixels it would step only by two rows at a time.
    box.Line({0, 0}, {1350, 450}, Qt::red);
    const QImage screen = shown(box);
    QVERIFY(!screen.isNull());
    int oddSteps = 0;
    int columns = 0;
    for (int x = 0; x < 180; ++x) {
        for (int y = 0; y < screen.height(); ++y) {
            if (screen.pixelColor(x, y) == QColor(Qt::red)) {
                ++columns;
                oddSteps += y % 2;
                break;
            }
        }
    }
    QVERIFY2(columns > 150, qPrintable(QString::number(columns)));
    QVERIFY2(
        oddSteps > 20,
        qPrintable(
            QStringLiteral("%1 of %2 columns start on an odd row").arg(oddSteps).arg(columns)));
}

QTEST_MAIN(PictureBoxHiDpiTest)
#include "PictureBoxHiDpiTest.moc"

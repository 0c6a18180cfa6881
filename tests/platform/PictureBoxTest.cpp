// The drawing surface and the keyboard as the test window relies on them:
// drawing that survives repaints and is erased only by a new background,
// narrow boxes that still paint, pens, user coordinates, and key releases
// that count once per physical release.
#include "platform/ui/PictureBox.h"
#include "platform/input/KeyCodes.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void sendKey(QWidget *to, QEvent::Type type, int key, bool autoRepeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(to, &event);
}

} // namespace

class PictureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void drawingSurvivesRepaintAndResize();
    void backColourErases();
    void narrowBoxesPaint_data();
    void narrowBoxesPaint();
    void userCoordinates();
    void dottedOnlyWithThinPen();
    void autoRepeatIsNotARelease();
    void unflaggedRepeats_data();
    void unflaggedRepeats();
    void tabIsAKeyNotAFocusMove();
    void keyCodes_data();
    void keyCodes();
};

void PictureBoxTest::drawingSurvivesRepaintAndResize()
{
    PictureBox box;
    box.resize(100, 60);
    box.SetBackColor(Qt::black);
    box.FillBox({150, 150}, {450, 300}, Qt::green);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.grab().toImage().pixelColor(20, 15), QColor(Qt::green));
    box.hide();
    box.show();
    box.resize(140, 80);
    QCOMPARE(box.grab().toImage().pixelColor(20, 15), QColor(Qt::green));
    QCOMPARE(box.grab().toImage().pixelColor(120, 70), QColor(Qt::black));
}

void PictureBoxTest::backColourErases()
{
    PictureBox box;
    box.resize(50, 50);
    box.SetBackColor(Qt::black);
    box.Line({0, 0}, {750, 750}, Qt::blue);
    QCOMPARE(box.Image().pixelColor(10, 10), QColor(Qt::blue));
    box.SetBackColor(QColor(5, 3, 245));
    QCOMPARE(box.Image().pixelColor(10, 10), QColor(5, 3, 245));
    QCOMPARE(box.BackColor(), QColor(5, 3, 245));
}

void PictureBoxTest::narrowBoxesPaint_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRect>("painted");
    QTest::newRow("10 twips wide, 1 px")
        << QPointF(877.5, 300) << QPointF(887.5, 300) << QRect(59, 20, 1, 1);
    QTest::newRow("10 twips wide, 2 px")
        << QPointF(897.5, 1447.5) << QPointF(907.5, 1352.5) << QRect(60, 90, 2, 8);
    QTest::newRow("corners in any order")
        << QPointF(907.5, 1352.5) << QPointF(897.5, 1447.5) << QRect(60, 90, 2, 8);
}

void PictureBoxTest::narrowBoxesPaint()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRect, painted);
    PictureBox box;
    box.resize(200, 200);
    box.SetBackColor(Qt::black);
    box.FillBox(from, to, Qt::yellow);
    QRect found;
    const QImage image = box.Image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::yellow))
                found |= QRect(x, y, 1, 1);
    QCOMPARE(found, painted);
}

void PictureBoxTest::userCoordinates()
{
    PictureBox box;
    box.resize(300, 300);
    QCOMPARE(box.ScaleWidth(), 4500.0);
    box.SetScaleOrigin(-480, -4080);
    QCOMPARE(box.ToPixel({0, 0}), QPoint(32, 272));
    QCOMPARE(box.ToPixel({360, -3600}), QPoint(56, 32));
}

void PictureBoxTest::dottedOnlyWithThinPen()
{
    const auto lineGaps = [](int width) {
        PictureBox box;
        box.resize(100, 20);
        box.SetBackColor(Qt::white);
        box.SetDrawWidth(width);
        box.SetDrawStyle(PictureBox::PenStyle::Dot);
        box.Line({0, 150}, {1500, 150}, Qt::black);
        int gaps = 0;
        for (int x = 0; x < 100; ++x)
            gaps += box.Image().pixelColor(x, 10) == QColor(Qt::white);
        return gaps;
    };
    QVERIFY(lineGaps(1) > 20);
    QCOMPARE(lineGaps(2), 0);
}

void PictureBoxTest::autoRepeatIsNotARelease()
{
    PictureBox box;
    QSignalSpy downs(&box, &PictureBox::KeyDown);
    QSignalSpy ups(&box, &PictureBox::KeyUp);
    sendKey(&box, QEvent::KeyPress, Qt::Key_A);
    for (int i = 0; i < 5; ++i) {
        sendKey(&box, QEvent::KeyRelease, Qt::Key_A, true);
        sendKey(&box, QEvent::KeyPress, Qt::Key_A, true);
    }
    sendKey(&box, QEvent::KeyRelease, Qt::Key_A);
    QCOMPARE(ups.size(), 1);
    QCOMPARE(ups.first().first().value<std::int16_t>(), std::int16_t('A'));
    QCOMPARE(downs.size(), 6);
}

// Where the server's repeats reach the box unflagged, a release followed by
// a press of the same scan code with the same time stamp is a repeat. Each
// event is "press" or "release", a letter, its scan code and its time
// stamp; "disable" takes the box out of a run.
void PictureBoxTest::unflaggedRepeats_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("reported");
    QTest::newRow("a held key") << QStringList{"press Q 24 50",  "release Q 24 700",
                                               "press Q 24 700", "release Q 24 740",
                                               "press Q 24 740", "release Q 24 990"}
                                << QStringList{"down Q", "down Q", "down Q", "up Q"};
    QTest::newRow("the same key again, later")
        << QStringList{"press A 38 100", "release A 38 160", "press A 38 220", "release A 38 280"}
        << QStringList{"down A", "up A", "down A", "up A"};
    QTest::newRow("another key at the same moment")
        << QStringList{"press A 38 100", "release A 38 160", "press S 39 160", "release S 39 200"}
        << QStringList{"down A", "up A", "down S", "up S"};
    QTest::newRow("the run ends before it is decided")
        << QStringList{"press A 38 100", "release A 38 160", "disable"} << QStringList{"down A"};
}

void PictureBoxTest::unflaggedRepeats()
{
    QFETCH(QStringList, events);
    PictureBox box;
    box.SetReleasesMayRepeat(true);
    QStringList reported;
    connect(&box, &PictureBox::KeyDown, &box,
            [&](std::int16_t code) { reported << QStringLiteral("down %1").arg(QChar(code)); });
    connect(&box, &PictureBox::KeyUp, &box,
            [&](std::int16_t code) { reported << QStringLiteral("up %1").arg(QChar(code)); });
    // All events arrive before the program gets to wait, as they do when
    // the server sends a repeat's release and press together.
    for (const QString &event : events) {
        const QStringList part = event.split(QLatin1Char(' '));
        if (part[0] == QLatin1String("disable")) {
            box.setEnabled(false);
            continue;
        }
        QKeyEvent key(part[0] == QLatin1String("press") ? QEvent::KeyPress : QEvent::KeyRelease,
                      part[1].at(0).unicode(), Qt::NoModifier, part[2].toUInt(), 0, 0, part[1]);
        key.setTimestamp(part[3].toULongLong());
        QApplication::sendEvent(&box, &key);
    }
    // Then the program waits for more, as a real event loop does.
    QEventLoop waiting;
    QTimer::singleShot(20, &waiting, &QEventLoop::quit);
    waiting.exec();
    QTEST(reported, "reported");
}

void PictureBoxTest::tabIsAKeyNotAFocusMove()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new PictureBox(&window);
    auto *button = new QPushButton(QStringLiteral("Next"), &window);
    layout->addWidget(box);
    layout->addWidget(button);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QSignalSpy ups(box, &PictureBox::KeyUp);
    for (int key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Shift, Qt::Key_Alt}) {
        QTest::keyPress(box, Qt::Key(key));
        QTest::keyRelease(box, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), box);
    }
    QCOMPARE(ups.size(), 5);
}

void PictureBoxTest::keyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << 27;
    QTest::newRow("Left") << int(Qt::Key_Left) << 0 << 37;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0 << 38;
    QTest::newRow("Right") << int(Qt::Key_Right) << 0 << 39;
    QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 40;
    QTest::newRow("keypad arrow") << int(Qt::Key_Left) << int(Qt::KeypadModifier) << 37;
    QTest::newRow("A") << int(Qt::Key_A) << 0 << 65;
    QTest::newRow("7") << int(Qt::Key_7) << 0 << 55;
    QTest::newRow("keypad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 0x67;
    QTest::newRow("Space") << int(Qt::Key_Space) << 0 << 32;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << 9;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 112;
    QTest::newRow("Cyrillic letter") << 0x0416 << 0 << 0x1416;
    QTest::newRow("no Windows number")
        << int(Qt::Key_VolumeUp) << 0 << 0x5000 + (Qt::Key_VolumeUp & 0xFFF);
}

void PictureBoxTest::keyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const auto code = KeyCodes::FromQtKey(key, Qt::KeyboardModifiers(modifiers));
    QTEST(int(code), "code");
    // Only Enter, Esc and the arrows are acted on; no other key may take
    // one of their codes.
    const bool special = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                         (key >= Qt::Key_Left && key <= Qt::Key_Down);
    QCOMPARE(code == 13 || code == 27 || KeyCodes::IsArrow(code), special);
}

QTEST_MAIN(PictureBoxTest)
#include "PictureBoxTest.moc"

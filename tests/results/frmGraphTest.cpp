// The results window as a user meets it inside the main frame: the graph
// read back from the painted pixels, the verdicts in their colours from one
// result to the next, the message when there is no result, how it closes,
// and its one fixed size. The locale is pinned so dates read 07.12.2002.
#include "results/frmGraph.h"
#include "FakeClock.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Twips.h"
#include "results/DynamicsGraph.h"
#include "results/GraphDecoration.h"
#include "session/Form1.h"
#include "session/SessionState.h"
#include "shell/MDIForm1.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <numeric>

using Counts = QList<float>;

namespace {

// Another working window, to take the activation away and give it back.
class OtherWindow : public ChildWindow
{
    Q_OBJECT
};

// The pixel of a point in graph coordinates (twips from the axes' crossing).
QPoint pixelOf(double x, double y)
{
    return {Twips::ToPixels(x - DynamicsGraph::ScaleLeft),
            Twips::ToPixels(y - DynamicsGraph::ScaleTop)};
}

// The painted pixels of one colour, as points.
QList<QPoint> pixelsOf(const QImage &image, const QColor &colour)
{
    QList<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                found << QPoint(x, y);
    return found;
}

bool near(const QList<QPoint> &pixels, QPoint at, int within)
{
    return std::any_of(pixels.begin(), pixels.end(), [&](QPoint p) {
        return qAbs(p.x() - at.x()) <= within && qAbs(p.y() - at.y()) <= within;
    });
}

} // namespace

class frmGraphTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void cleanup();
    void graphPixels_data();
    void graphPixels();
    void farCountsAreClipped_data();
    void farCountsAreClipped();
    void verdictColoursDoNotLeak_data();
    void verdictColoursDoNotLeak();
    void noData();
    void closing_data();
    void closing();
    void nextAfterRunShowsItAtFixedSize();

private:
    frmGraph *Show(const Counts &counts, std::int16_t cmf);

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    FakeClock m_clock;
    MDIForm1 *m_frame = nullptr;
};

void frmGraphTest::init()
{
    ResetSession();
    Session().DataPath = m_dir.filePath(QStringLiteral("restest.dat"));
    Session().TickInterval = 60;
    m_dialogs.Clear();
    Platform::SetDialogs(&m_dialogs);
    Platform::SetClock(&m_clock);
    m_frame = new MDIForm1;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void frmGraphTest::cleanup()
{
    delete m_frame;
    Platform::SetDialogs(nullptr);
    Platform::SetClock(nullptr);
}

// Makes a result current and brings the results window up with it, through
// another window when it is already the active one.
frmGraph *frmGraphTest::Show(const Counts &counts, std::int16_t cmf)
{
    for (int i = 0; i < 4; ++i)
        Session().Counts[std::size_t(i + 1)] = std::int16_t(counts[i]);
    Session().CurrentRecord.RecCMF = cmf;
    if (m_frame->Child<frmGraph>() != nullptr)
        m_frame->ShowChild<OtherWindow>();
    m_frame->mnuGraph_Click();
    return m_frame->Child<frmGraph>();
}

void frmGraphTest::graphPixels_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<QList<double>>("pointY");
    QTest::addColumn<QLineF>("trend");
    QTest::newRow("level") << Counts{40, 40, 40, 40} << QList<double>{-3600, -3600, -3600, -3600}
                           << QLineF(0, -3600, 3100, -3600);
    QTest::newRow("rising") << Counts{30, 34, 38, 42} << QList<double>{-2700, -3060, -3420, -3780}
                            << QLineF(0, -2520, 3100, -4070);
}

void frmGraphTest::graphPixels()
{
    QFETCH(Counts, counts);
    QFETCH(QList<double>, pointY);
    QFETCH(QLineF, trend);
    frmGraph *window = Show(counts, 0);
    const QImage graph = window->Picture1()->Image();
    const QList<QPoint> red = pixelsOf(graph, QColor(255, 0, 0));
    for (int i = 0; i < 4; ++i)
        QVERIFY2(near(red, pixelOf(360 + 720 * i, pointY[i]), 1), qPrintable(QString::number(i)));
    const QRect redArea = std::accumulate(red.begin(), red.end(), QRect(),
                                          [](QRect r, QPoint p) { return r | QRect(p, p); });
    QVERIFY(qAbs(redArea.left() - pixelOf(360, 0).x()) <= 1);
    QVERIFY(qAbs(redArea.right() - pixelOf(2520, 0).x()) <= 1);

    // A dotted line: its first and last dots lie at the trend's two ends.
    QList<QPoint> grey = pixelsOf(graph, QColor(128, 128, 128));
    QVERIFY(grey.size() > 50);
    std::sort(grey.begin(), grey.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    QVERIFY((grey.first() - pixelOf(trend.x1(), trend.y1())).manhattanLength() <= 2);
    QVERIFY((grey.last() - pixelOf(trend.x2(), trend.y2())).manhattanLength() <= 2);

    // On the screen the frame of the graph lies over the plot: the top line
    // stays black where the level result runs along it, the y axis too.
    const QImage screen = window->Picture1()->grab().toImage();
    QCOMPARE(screen.pixelColor(pixelOf(1000, -3600)), GraphDecoration::Black());
    QCOMPARE(screen.pixelColor(pixelOf(0, -2000)), GraphDecoration::Black());
    QCOMPARE(screen.pixelColor(pixelOf(1000, -720)), GraphDecoration::LightGrey());
}

void frmGraphTest::farCountsAreClipped_data()
{
    QTest::addColumn<Counts>("counts");
    // Columns of the box that the steep lines must cross from top to bottom.
    QTest::addColumn<QList<double>>("steepAtX");
    QTest::newRow("16-bit extremes") << Counts{32767, -32768, 0, 32767} << QList<double>{720, 1800};
    QTest::newRow("below the axis") << Counts{-40, -40, -40, -40} << QList<double>{};
    QTest::newRow("beyond any pixel")
        << Counts{1e30F, -1e30F, 1e30F, -1e30F} << QList<double>{720, 1440, 2160};
}

void frmGraphTest::farCountsAreClipped()
{
    QFETCH(Counts, counts);
    QFETCH(QList<double>, steepAtX);
    frmGraph window;
    window.Picture1()->Cls();
    DynamicsGraph::DrawDynamics(counts[0], counts[1], counts[2], counts[3], *window.Picture1());
    const QImage graph = window.Picture1()->Image();
    const QList<QPoint> red = pixelsOf(graph, QColor(255, 0, 0));
    if (steepAtX.isEmpty())
        QVERIFY(pixelsOf(graph, window.Picture1()->BackColor()).size() ==
                graph.width() * graph.height());
    for (double x : steepAtX) {
        const int column = pixelOf(x, 0).x();
        for (int y = 0; y < graph.height(); ++y)
            QVERIFY2(near(red, {column, y}, 1), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }
}

void frmGraphTest::verdictColoursDoNotLeak_data()
{
    QTest::addColumn<Counts>("before");
    QTest::addColumn<int>("beforeCmf");
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("cmf");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QColor>("resultsColour");
    QTest::addColumn<QString>("reliability");
    QTest::addColumn<QColor>("reliabilityColour");
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    QTest::newRow("Reliable after Unreliable")
        << Counts{29, 28, 27, 29} << 0 << Counts{40, 40, 40, 40} << 0 << "Normal"
        << QColor(0, 128, 0) << "Reliable" << buttonText;
    QTest::newRow("Normal after Abnormal")
        << Counts{40, 38, 36, 35} << 12 << Counts{30, 34, 38, 42} << -1 << "Normal"
        << QColor(0, 128, 0) << "Unreliable" << QColor(255, 0, 0);
    QTest::newRow("Abnormal after Normal")
        << Counts{40, 40, 40, 40} << 0 << Counts{40, 38, 36, 35} << 12 << "Abnormal"
        << QColor(255, 0, 0) << "Reliable" << buttonText;
}

void frmGraphTest::verdictColoursDoNotLeak()
{
    QFETCH(Counts, before);
    QFETCH(int, beforeCmf);
    QFETCH(Counts, counts);
    QFETCH(int, cmf);
    QFETCH(QColor, resultsColour);
    QFETCH(QColor, reliabilityColour);
    frmGraph *first = Show(before, std::int16_t(beforeCmf));
    QCOMPARE(Show(counts, std::int16_t(cmf)), first);
    QTEST(first->Label3()->text(), "results");
    QTEST(first->lblValid()->text(), "reliability");
    // The text is painted in its colour, and in no other verdict colour.
    const auto painted = [](QLabel *label, const QColor &colour) {
        return !pixelsOf(label->grab().toImage(), colour).isEmpty();
    };
    for (const QColor &other : {QColor(255, 0, 0), QColor(0, 128, 0)}) {
        QCOMPARE(painted(first->Label3(), other), other == resultsColour);
        QCOMPARE(painted(first->lblValid(), other), other == reliabilityColour);
    }
    QVERIFY(painted(first->lblValid(), reliabilityColour));
    QVERIFY(m_dialogs.Log().isEmpty());
}

void frmGraphTest::noData()
{
    // Loaded without a result, the window keeps its design texts.
    frmGraph *window = Show({0, 40, 40, 40}, 0);
    QVERIFY(window);
    QCOMPARE(m_dialogs.Log().size(), 1);
    QCOMPARE(std::get<Dialogs::Message>(m_dialogs.Log().first()),
             Dialogs::Notice(QStringLiteral("There are no data!")));
    QCOMPARE(window->Label3()->text(), QStringLiteral("There are no data!"));
    for (QLabel *empty : {window->lblNm(), window->lblDt(), window->lblTm(), window->lblValid()})
        QVERIFY(empty->text().isEmpty());

    // Shown after a result, nothing in it changes.
    Show({40, 40, 40, 40}, 0);
    const QImage graph = window->Picture1()->Image();
    m_dialogs.Clear();
    Show({0, 0, 0, 0}, 0);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{QStringLiteral("There are no data!")});
    QCOMPARE(window->Picture1()->Image(), graph);
    QCOMPARE(window->Label3()->text(), QStringLiteral("Normal"));
}

void frmGraphTest::closing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("Cancel forgets the result") << true;
    QTest::newRow("close box only closes") << false;
}

void frmGraphTest::closing()
{
    QFETCH(bool, cancel);
    Session().Counts[0] = 7;
    Session().CurrentRecord.SetName(QStringLiteral("Ann"));
    frmGraph *window = Show({40, 40, 40, 40}, 0);
    if (cancel)
        window->Command1()->click();
    else
        window->SubWindow()->close();
    QTRY_COMPARE(m_frame->Child<frmGraph>(), nullptr);
    const std::array<std::int16_t, 5> kept{7, 40, 40, 40, 40};
    const std::array<std::int16_t, 5> cleared{7, 0, 0, 0, 0};
    QCOMPARE(Session().Counts, cancel ? cleared : kept);
    QCOMPARE(Session().CurrentRecord.RecName.trimmed(), cancel ? QString() : QStringLiteral("Ann"));
    QCOMPARE(Session().CurrentRecord.RecName.size(), 20);

    m_frame->MenuItem(QStringLiteral("mnuGraph"))->trigger();
    frmGraph *again = m_frame->Child<frmGraph>();
    QVERIFY(again);
    QCOMPARE(m_dialogs.MessageTexts().size(), cancel ? 1 : 0);
    QCOMPARE(again->Label3()->text(),
             cancel ? QStringLiteral("There are no data!") : QStringLiteral("Normal"));
}

// A whole run in the test window, then "Next >>": the frame has grown and
// the button is still usable at the moment the results window activates.
void frmGraphTest::nextAfterRunShowsItAtFixedSize()
{
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0));
    Form1 *test = m_frame->ShowChild<Form1>();
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    test->Command1()->click();
    for (int count : {12, 40, 38, 36, 35}) {
        for (int i = 0; i < count; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
            QApplication::sendEvent(test->Picture1(), &press);
            QApplication::sendEvent(test->Picture1(), &release);
        }
        m_clock.AdvanceMs(5000);
        test->Intervals()->EndIntervalNow();
    }
    const int startHeight = m_frame->frameGeometry().height();
    bool orderKept = false;
    connect(m_frame->MdiArea(), &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow *sub) {
        if (sub != nullptr && qobject_cast<frmGraph *>(sub->widget()))
            orderKept =
                m_frame->frameGeometry().height() > startHeight && test->Command2()->isEnabled();
    });
    QVERIFY(test->Command2()->isEnabled());
    test->Command2()->click();
    frmGraph *window = m_frame->Child<frmGraph>();
    QVERIFY(window);
    QVERIFY(orderKept);
    QVERIFY(!test->Command2()->isEnabled());
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), window->SubWindow());
    QCOMPARE(window->lblNm()->text(), QStringLiteral("Ann") + QString(17, QLatin1Char(' ')));
    QCOMPARE(window->lblDt()->text(), QStringLiteral("07.12.2002"));
    QCOMPARE(window->lblTm()->text(), QStringLiteral("14:30:25"));
    QCOMPARE(window->Label3()->text(), QStringLiteral("Abnormal"));
    QCOMPARE(window->lblValid()->text(), QStringLiteral("Reliable"));
    QVERIFY(window->Command1()->hasFocus());

    // One size, whatever is tried.
    const QSize fixed = Twips::ToPixels(5260 * 1.61, 5260);
    QCOMPARE(window->SubWindow()->size(), fixed);
    window->SubWindow()->resize(fixed * 2);
    window->SubWindow()->resize(fixed / 2);
    QCOMPARE(window->SubWindow()->size(), fixed);
}

QTEST_MAIN(frmGraphTest)
#include "frmGraphTest.moc"

// The trend window inside the real main frame, on real history files: the
// points its chart holds and where they are drawn, the table below it, what
// it says of one test and of a damaged history, its tooltip and help; and
// through the frame: the View menu item, the data window's double click,
// a test chosen in the trend becoming the one "Results" shows, and the
// history commands refreshing it.
#include "trend/TrendWindow.h"
#include "FakeClock.h"
#include "HistoryFiles.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "results/ResultsWindow.h"
#include "session/TestWindow.h"
#include "shell/MainFrame.h"
#include "trend/TrendTable.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <limits>

using namespace HistoryFiles;

namespace {

// Anna's four tests, one of each kind, stored among others' and not in
// date order: the third was stored last.
const QList<HistoryRecord> History = {
    record("Anna Petrova", Dec7, 0.375, 5, {40, 39, 38, 38}),       // 1: Normal
    record("Boris", Dec7, 0.40, 0, {50, 50, 50, 50}),               // 2
    record("ANNA PETROVA", Dec7 + 10, 0.5, 12, {44, 40, 39, 39}),   // 3: Abnormal
    record("  anna petrova", Dec7 + 5, 0.625, 4, {25, 25, 24, 24}), // 4: Normal, unreliable
    record("Сидорова Анна", Dec7 + 5, 0.3, 30, {40, 35, 30, 28}),   // 5
    record("Anna Petrova", Dec7 + 2, 0.75, 20, {20, 19, 17, 16}),   // 6: Abnormal, unreliable
};

QList<QPointF> pointsOf(const QXYSeries *series)
{
    return series->points();
}

// The labels under the chart as they read.
QStringList labelsOf(const TrendWindow *trend)
{
    return trend->OrderAxis()->categoriesLabels().replaceInStrings(QChar(0x200B), QString());
}

// Where a point of a series is drawn in the chart view's viewport.
QPoint drawnAt(const TrendWindow *trend, QXYSeries *series, const QPointF &value)
{
    QChartView *view = trend->ChartView();
    QChart *chart = view->chart();
    return view->mapFromScene(chart->mapToScene(chart->mapToPosition(value, series)));
}

// One person's tests, the CMF running up and down between 0 and 40;
// perDay to a day, a minute apart.
QByteArray oneTestsPerson(int count, int perDay)
{
    QList<HistoryRecord> records;
    for (int i = 0; i < count; ++i)
        records.append(record(QStringLiteral("Vera"), Dec7 + i / perDay,
                              (540 + i % perDay) / 1440.0, std::int16_t(i * 13 % 41),
                              {40, 40, 40, 40}));
    return bytesOf(records);
}

// Whether a colour is within a few steps of another in each component.
bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TrendWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void cleanup();
    void chartAndTableHoldTheTests();
    void pointsAreDrawnInTheirColours();
    void tooltipTellsTheWholeTest();
    void oneTestOrDamagedHistory_data();
    void oneTestOrDamagedHistory();
    void sizeAndHelp();
    void trendItemFollowsTheDataWindow();
    void doubleClickOpensTheTrend();
    void chosenRowIsWhatResultsShows();
    void historyCommandsRefreshTheTrend();

private:
    TrendWindow *OpenTrend(qint64 recNo);
    DataWindow *OpenData();
    QAction *TrendItem() const { return MenuItem(m_frame, QStringLiteral("mnuTrend")); }
    QString Path() const { return m_dir.filePath(QStringLiteral("restest.dat")); }
    // A whole test of this name, stored as a run stores it.
    void RunTest(const QString &name);

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    HelpRequests &m_help = m_platform.help;
    MainFrame *m_frame = nullptr;
};

void TrendWindowTest::init()
{
    QVERIFY(put(Path(), bytesOf(History)));
    QDir(m_dir.filePath(QStringLiteral("res"))).removeRecursively();
    m_platform.Clear();
    m_frame = new MainFrame(Path());
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void TrendWindowTest::cleanup()
{
    delete m_frame;
}

TrendWindow *TrendWindowTest::OpenTrend(qint64 recNo)
{
    auto *trend = m_frame->ShowChild<TrendWindow>();
    trend->ShowPersonOf(Path(), recNo);
    return trend;
}

void TrendWindowTest::RunTest(const QString &name)
{
    FakeClock clock;
    Platform::SetClock(&clock);
    auto *test = m_frame->ShowChild<TestWindow>();
    m_dialogs.QueueInput(name);
    test->StartButton()->click();
    for (int interval = 0; interval < 5; ++interval) {
        for (int i = 0; i < 35; ++i)
            QTest::keyClick(test->Diagram(), Qt::Key_A);
        clock.AdvanceMs(5000);
        test->Run().Intervals()->EndIntervalNow();
    }
    Platform::SetClock(nullptr);
}

DataWindow *TrendWindowTest::OpenData()
{
    MenuItem(m_frame, QStringLiteral("mnuDat"))->trigger();
    return m_frame->Child<DataWindow>();
}

void TrendWindowTest::chartAndTableHoldTheTests()
{
    TrendWindow *trend = OpenTrend(4);
    QCOMPARE(trend->Person(), QStringLiteral("anna petrova"));
    QCOMPARE(trend->Summary()->text(),
             QStringLiteral("anna petrova: 4 tests from 07.12.2002 to 17.12.2002."));
    using R = Evaluation::Results;
    using V = Evaluation::Reliability;
    // Each test at its place in date order.
    QCOMPARE(pointsOf(trend->Points(R::Normal, V::Reliable)), (QList<QPointF>{{0, 5}}));
    QCOMPARE(pointsOf(trend->Points(R::Abnormal, V::Reliable)), (QList<QPointF>{{3, 12}}));
    QCOMPARE(pointsOf(trend->Points(R::Normal, V::Unreliable)), (QList<QPointF>{{2, 4}}));
    QCOMPARE(pointsOf(trend->Points(R::Abnormal, V::Unreliable)), (QList<QPointF>{{1, 20}}));
    // The CMF line and the first counts run in date order.
    const QList<QPointF> cmf = {{0, 5}, {1, 20}, {2, 4}, {3, 12}};
    QCOMPARE(pointsOf(trend->CmfLine()), cmf);
    QCOMPARE(pointsOf(trend->FirstCounts()), (QList<QPointF>{{0, 40}, {1, 20}, {2, 25}, {3, 44}}));
    QCOMPARE(trend->FirstCounts()->attachedAxes(),
             (QList<QAbstractAxis *>{trend->OrderAxis(), trend->CountAxis()}));
    // Four days, each test named by its date under its point.
    QCOMPARE(labelsOf(trend),
             (QStringList{"07.12.2002", "09.12.2002", "12.12.2002", "17.12.2002"}));
    QCOMPARE(trend->OrderAxis()->endValue(QStringLiteral("12.12.2002")), 2.0);
    // The limit at 10 runs across the whole time axis, which shows every
    // test, as both value axes show every value.
    const QList<QPointF> limit = pointsOf(trend->LimitLine());
    QCOMPARE(limit.size(), 2);
    QCOMPARE(limit[0].y(), 10.0);
    QCOMPARE(limit[1].y(), 10.0);
    QCOMPARE(limit[0].x(), trend->OrderAxis()->min());
    QCOMPARE(limit[1].x(), trend->OrderAxis()->max());
    QVERIFY(limit[0].x() < cmf.first().x() && cmf.last().x() < limit[1].x());
    QVERIFY(trend->CmfAxis()->min() <= 0 && trend->CmfAxis()->max() >= 20);
    QVERIFY(trend->CountAxis()->min() <= 0 && trend->CountAxis()->max() >= 44);
    // Every kind of point is explained, the CMF line needs no entry.
    QStringList legend;
    for (QLegendMarker *marker : trend->ChartView()->chart()->legend()->markers()) {
        if (marker->isVisible())
            legend << marker->label();
    }
    QCOMPARE(legend, (QStringList{"c1", "Abnormal above 10", "Normal", "Abnormal",
                                  "Normal, unreliable", "Abnormal, unreliable"}));

    // The table, newest last, with the record the trend was opened on
    // chosen.
    const TrendTable *table = trend->Tests();
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    QCOMPARE(rows, (QStringList{"07.12.2002|09:00:00|40|39|38|38|5|Normal|Reliable",
                                "09.12.2002|18:00:00|20|19|17|16|20|Abnormal|Unreliable",
                                "12.12.2002|15:00:00|25|25|24|24|4|Normal|Unreliable",
                                "17.12.2002|12:00:00|44|40|39|39|12|Abnormal|Reliable"}));
    QCOMPARE(table->index(0, TrendTable::Results).data(Qt::ForegroundRole).value<QColor>(),
             QColor(0, 128, 0));
    QCOMPARE(table->index(1, TrendTable::Results).data(Qt::ForegroundRole).value<QColor>(),
             QColor(255, 0, 0));
    QCOMPARE(table->index(1, TrendTable::Reliability).data(Qt::ForegroundRole).value<QColor>(),
             QColor(255, 0, 0));
    QVERIFY(!table->index(0, TrendTable::Reliability).data(Qt::ForegroundRole).isValid());
    QCOMPARE(trend->Table()->currentIndex().row(), 2);
    QCOMPARE(table->Tests().at(2).recNo, qint64(4));
}

// Filled points in the results window's colours, an unreliable test's
// point white inside its ring, the first counts in their own colour: read
// from the window as drawn.
void TrendWindowTest::pointsAreDrawnInTheirColours()
{
    TrendWindow *trend = OpenTrend(1);
    QChartView *view = trend->ChartView();
    const QImage image = view->grab().toImage();
    QChart *chart = view->chart();
    const auto pixelAt = [&](const QPointF &value, QAbstractSeries *series, QPointF offset = {}) {
        const QPoint position =
            view->mapFromScene(chart->mapToScene(chart->mapToPosition(value, series) + offset));
        return image.pixelColor(position);
    };
    using R = Evaluation::Results;
    using V = Evaluation::Reliability;
    const QColor green(0, 128, 0);
    const QColor red(255, 0, 0);
    struct Kind
    {
        QScatterSeries *series;
        QColor colour;
        bool hollow;
    };
    const Kind kinds[] = {{trend->Points(R::Normal, V::Reliable), green, false},
                          {trend->Points(R::Abnormal, V::Reliable), red, false},
                          {trend->Points(R::Normal, V::Unreliable), green, true},
                          {trend->Points(R::Abnormal, V::Unreliable), red, true}};
    for (const Kind &kind : kinds) {
        const QPointF point = kind.series->at(0);
        const QColor centre = pixelAt(point, kind.series);
        QVERIFY2(near(centre, kind.hollow ? QColor(Qt::white) : kind.colour),
                 qPrintable(kind.series->name() + QLatin1Char(' ') + centre.name()));
        // The ring, a few pixels out from the centre.
        bool ring = false;
        for (int dx = -6; dx <= 6; ++dx) {
            for (int dy = -6; dy <= 6; ++dy)
                ring = ring || near(pixelAt(point, kind.series, QPointF(dx, dy)), kind.colour);
        }
        QVERIFY2(ring, qPrintable(kind.series->name()));
    }
    // The first test's c1 of 40 on the right axis lies clear of every CMF
    // point.
    const QPointF c1 = trend->FirstCounts()->at(0);
    QVERIFY(near(pixelAt(c1, trend->FirstCounts()), TrendWindow::FirstCountColour()));
}

void TrendWindowTest::tooltipTellsTheWholeTest()
{
    TrendWindow *trend = OpenTrend(1);
    QCOMPARE(trend->ToolTipFor(1), QStringLiteral("09.12.2002 18:00:00\n"
                                                  "c1-c4: 20, 19, 17, 16\n"
                                                  "CMF 20\n"
                                                  "Abnormal, Unreliable"));
    QCOMPARE(trend->ToolTipFor(4), QString());
    // The mouse resting on a point shows its test, as the window system
    // asks for a tooltip there; moved off, the tip goes.
    QChartView *view = trend->ChartView();
    QWidget *viewport = view->viewport();
    const auto rest = [viewport](QPoint at) {
        QHelpEvent event(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
    };
    const auto move = [viewport](QPoint to) {
        QMouseEvent event(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    QScatterSeries *series =
        trend->Points(Evaluation::Results::Normal, Evaluation::Reliability::Unreliable);
    const QPoint point = drawnAt(trend, series, series->at(0));
    rest(point + QPoint(2, -1));
    QTRY_COMPARE(QToolTip::text(), trend->ToolTipFor(2));
    move(point + QPoint(30, 30));
    QTRY_VERIFY(!QToolTip::isVisible());
    // So does the c1 point of the same test; away from every point, none.
    rest(drawnAt(trend, trend->FirstCounts(), trend->FirstCounts()->at(2)) + QPoint(2, 1));
    QTRY_COMPARE(QToolTip::text(), trend->ToolTipFor(2));
    rest(QPoint(2, 2));
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TrendWindowTest::oneTestOrDamagedHistory_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("recNo");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<int>("tests");
    // The labels under the chart, and the date below them all.
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("one test") << bytesOf(History) << qint64(5)
                              << "Сидорова Анна: one test, on 12.12.2002. A trend shows from "
                                 "the second test on."
                              << 1 << QStringList{"07:12:00"} << "12.12.2002" << QStringList();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QList<HistoryRecord> damaged = History;
    damaged.insert(3, record("Boris", nan, 0.5, 0, {30, 30, 30, 30}));
    QTest::newRow("damaged after two of Anna's")
        << bytesOf(damaged) << qint64(1)
        << "Anna Petrova: 2 tests from 07.12.2002 to 17.12.2002. The history is damaged: only "
           "the tests before the damage are shown."
        << 2 << QStringList{"07.12.2002", "17.12.2002"} << QString()
        << QStringList{"Error file data! Clear data."};
    QTest::newRow("no such record") << bytesOf(History) << qint64(7) << QString() << 0
                                    << QStringList() << QString() << QStringList();
    // A visit of five tests: side by side, named by their times.
    QTest::newRow("five on one day")
        << oneTestsPerson(5, 5) << qint64(3) << "Vera: 5 tests on 07.12.2002." << 5
        << QStringList{"09:00:00", "09:01:00", "09:02:00", "09:03:00", "09:04:00"} << "07.12.2002"
        << QStringList();
    // Two a day: a day's first labelled test by its date, the next of
    // that day by its time.
    QTest::newRow("two a day for two days")
        << oneTestsPerson(4, 2) << qint64(1) << "Vera: 4 tests from 07.12.2002 to 08.12.2002." << 4
        << QStringList{"07.12.2002", "09:01:00", "08.12.2002", "09:01:00"} << QString()
        << QStringList();
    // More tests than pixels across: a thinned picture, labelled at even
    // steps from the first to the last (as many as fit between).
    QTest::newRow("three thousand")
        << oneTestsPerson(3000, 3) << qint64(1) << "Vera: 3000 tests from 07.12.2002 to 01.09.2005."
        << 3000 << QStringList{"07.12.2002", "01.09.2005"} << QString() << QStringList();
}

void TrendWindowTest::oneTestOrDamagedHistory()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, recNo);
    QFETCH(int, tests);
    QFETCH(QString, day);
    QVERIFY(put(Path(), bytes));
    auto *trend = m_frame->ShowChild<TrendWindow>();
    QCOMPARE(trend->ShowPersonOf(Path(), recNo), tests > 0);
    QTEST(trend->Summary()->text(), "summary");
    QCOMPARE(trend->Tests()->rowCount(), tests);
    QTEST(m_dialogs.MessageTexts(), "messages");
    // Drawn twice: laid out, the chart may find room for other labels.
    trend->ChartView()->grab();
    QCoreApplication::processEvents();
    trend->ChartView()->grab();
    const QStringList shown = labelsOf(trend);
    // Of many tests, the first and the last are named, with some between.
    QTEST((tests < 100 ? shown : QStringList{shown.first(), shown.last()}), "labels");
    QVERIFY(tests < 100 || shown.size() >= 3);
    for (QGraphicsItem *item : trend->ChartView()->scene()->items()) {
        const auto *text = dynamic_cast<QGraphicsTextItem *>(item);
        QVERIFY2(!text || !text->toPlainText().endsWith(QLatin1String("...")), "a label cut");
    }
    QCOMPARE(trend->OrderAxis()->isTitleVisible() ? trend->OrderAxis()->titleText() : QString(),
             day);
    // Each point drawn is the test of its place, in sight; past the pixels
    // across, a thinned line that keeps the lowest and the highest CMF.
    const QList<QPointF> line = trend->CmfLine()->points();
    QCOMPARE(line.size() < tests, tests >= 100);
    QVERIFY(tests < 100 || trend->FirstCounts()->count() < tests / 4);
    int lastX = std::numeric_limits<int>::min() / 2;
    qreal low = 100, high = -1;
    for (const QPointF &point : line) {
        QCOMPARE(qreal(trend->Tests()->Tests().at(int(point.x())).record.RecCMF), point.y());
        QVERIFY(trend->OrderAxis()->min() < point.x() && point.x() < trend->OrderAxis()->max());
        low = std::min(low, point.y());
        high = std::max(high, point.y());
        if (tests >= 100)
            continue;
        // Each its own point, a marker's width and more from the next, and
        // the mouse on it finds that test.
        const QPoint at = drawnAt(trend, trend->CmfLine(), point);
        QVERIFY2(at.x() - lastX > 9, qPrintable(QString::number(at.x() - lastX)));
        lastX = at.x();
        QCOMPARE(trend->RowAt(at + QPoint(1, 1)), int(point.x()));
    }
    QVERIFY(tests < 100 || (low == 0 && high == 40));
}

void TrendWindowTest::sizeAndHelp()
{
    TrendWindow *trend = OpenTrend(1);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), trend->SubWindow());
    QCOMPARE(trend->SubWindow()->windowTitle(), QStringLiteral("Trend"));
    const QSize normal = trend->SubWindow()->size();
    QCOMPARE(normal.height(), Twips::ToPixels(5260.0));
    trend->SubWindow()->resize(normal + QSize(120, 80));
    QCOMPARE(trend->SubWindow()->size(), normal);
    // The table has the keys, and F1 there opens the trend's topic.
    QCOMPARE(QApplication::focusWidget(), trend->Table());
    QTest::keyClick(trend->Table(), Qt::Key_F1);
    QTRY_COMPARE(m_help.Log(), (QList<HelpRequests::Request>{{QStringLiteral("Velm2.chm"), 105}}));
}

// View > Trend is usable while the data window is open with a line
// selected, whichever child is active.
void TrendWindowTest::trendItemFollowsTheDataWindow()
{
    QVERIFY(!TrendItem()->isEnabled());
    DataWindow *data = OpenData();
    QVERIFY(TrendItem()->isEnabled());
    data->List()->clearSelection();
    QVERIFY(!TrendItem()->isEnabled());
    data->List()->setCurrentRow(4);
    QVERIFY(TrendItem()->isEnabled());
    TrendItem()->trigger();
    TrendWindow *trend = m_frame->Child<TrendWindow>();
    QVERIFY(trend);
    QCOMPARE(trend->Person(), QStringLiteral("Сидорова Анна"));
    QVERIFY(TrendItem()->isEnabled());
    data->SubWindow()->close();
    QTRY_COMPARE(m_frame->Child<DataWindow>(), nullptr);
    QVERIFY(!TrendItem()->isEnabled());
    // The trend stays, and choosing in it asks nothing of a window gone.
    QCOMPARE(m_frame->Child<TrendWindow>(), trend);
    trend->Table()->selectRow(0);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

void TrendWindowTest::doubleClickOpensTheTrend()
{
    DataWindow *data = OpenData();
    QListWidget *list = data->List();
    const auto doubleClick = [list](int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(3);
    TrendWindow *trend = m_frame->Child<TrendWindow>();
    QVERIFY(trend);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), trend->SubWindow());
    QCOMPARE(trend->Person(), QStringLiteral("anna petrova"));
    QCOMPARE(trend->Tests()->rowCount(), 4);
    QCOMPARE(trend->Tests()->Tests().at(trend->Table()->currentIndex().row()).recNo, qint64(4));
    // Another person's line shows that person in the same window.
    doubleClick(1);
    QCOMPARE(m_frame->Child<TrendWindow>(), trend);
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(trend->Person(), QStringLiteral("Boris"));
    QCOMPARE(trend->Tests()->rowCount(), 1);
}

// A test chosen in the trend's table is the data window's selection and
// the current result: "Results" shows it, from the menu or the button.
void TrendWindowTest::chosenRowIsWhatResultsShows()
{
    DataWindow *data = OpenData();
    data->List()->setCurrentRow(5);
    TrendItem()->trigger();
    TrendWindow *trend = m_frame->Child<TrendWindow>();
    QVERIFY(trend);
    // Opening chooses the test it was opened on, and asks nothing of the
    // data window.
    QCOMPARE(trend->Table()->currentIndex().row(), 1);
    QCOMPARE(data->List()->currentRow(), 5);
    QTableView *table = trend->Table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(trend->Tests()->index(3, 0)).center());
    QCOMPARE(data->List()->currentRow(), 2);
    QCOMPARE(data->NameDetail()->text(), History.at(2).RecName);
    QCOMPARE(m_frame->Current().Get(), TestResult::Of(History.at(2), Path(), 3));
    // The trend keeps the keys meanwhile.
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), trend->SubWindow());
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    ResultsWindow *results = m_frame->Child<ResultsWindow>();
    QVERIFY(results);
    QCOMPARE(results->NameBox()->text(), History.at(2).RecName);
    QCOMPARE(results->ResultsBox()->text(), QStringLiteral("Abnormal"));

    QTest::keyClick(table, Qt::Key_Up);
    m_frame->MdiArea()->setActiveSubWindow(data->SubWindow());
    data->ResultsButton()->click();
    QCOMPARE(results->NameBox()->text(), History.at(3).RecName);
    QCOMPARE(results->ReliabilityBox()->text(), QStringLiteral("Unreliable"));
    // A click on a point chooses its test as well.
    QScatterSeries *normal =
        trend->Points(Evaluation::Results::Normal, Evaluation::Reliability::Reliable);
    emit normal->clicked(normal->at(0));
    QCOMPARE(data->List()->currentRow(), 0);
    QCOMPARE(m_frame->Current().Get(), TestResult::Of(History.at(0), Path(), 1));
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

// The trend follows the history in use whichever window is active, as the
// data window does, and chooses only the current result's row: cleared
// away, it is empty; another history opened shows the same person's tests
// in it; a row chosen there selects the line of that test in the same
// file; a new test of the person appears, chosen.
void TrendWindowTest::historyCommandsRefreshTheTrend()
{
    const QString old = m_dir.filePath(QStringLiteral("old.dat"));
    QVERIFY(put(old, bytesOf({record("Boris", Dec7 - 30, 0.5, 0, {30, 30, 30, 30}),
                              record("ANNA PETROVA", Dec7 - 20, 0.5, 3, {33, 33, 32, 32}),
                              record("Anna Petrova", Dec7 - 10, 0.5, 6, {33, 32, 31, 31})})));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("res")));
    DataWindow *data = OpenData();
    TrendItem()->trigger();
    TrendWindow *trend = m_frame->Child<TrendWindow>();
    QVERIFY(trend);
    QCOMPARE(trend->Tests()->rowCount(), 4);
    const auto chosenRows = [trend] {
        return trend->Table()->selectionModel()->selectedRows();
    };

    m_dialogs.QueueAnswer(Dialogs::Answer::Yes);
    MenuItem(m_frame, QStringLiteral("mnuClear"))->trigger();
    QCOMPARE(trend->Tests()->rowCount(), 0);
    QCOMPARE(trend->CmfLine()->count(), 0);
    QCOMPARE(trend->Summary()->text(), QString());
    QCOMPARE(data->List()->count(), 0);
    QVERIFY(!QFileInfo::exists(Path()));

    m_dialogs.Clear();
    m_dialogs.QueueFile(old);
    MenuItem(m_frame, QStringLiteral("mnuOpenOld"))->trigger();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"History open!"});
    QCOMPARE(data->List()->count(), 3);
    QCOMPARE(trend->Tests()->rowCount(), 2);
    QCOMPARE(trend->Tests()->Tests().at(0).recNo, qint64(2));
    QCOMPARE(trend->Tests()->Tests().at(1).recNo, qint64(3));
    QCOMPARE(trend->CmfLine()->count(), 2);
    QCOMPARE(trend->Summary()->text(),
             QStringLiteral("Anna Petrova: 2 tests from 17.11.2002 to 27.11.2002."));
    // The current result is Boris's first line, not one of Anna's tests.
    QVERIFY(chosenRows().isEmpty());
    trend->Table()->selectRow(0);
    QCOMPARE(data->List()->currentRow(), 1);
    QCOMPARE(data->NameDetail()->text().trimmed(), QStringLiteral("ANNA PETROVA"));

    RunTest(QStringLiteral("anna petrova"));
    QCOMPARE(QFileInfo(old).size(), 4 * HistoryRecord::RecordLength);
    QCOMPARE(trend->Tests()->rowCount(), 3);
    QCOMPARE(trend->Tests()->Tests().last().recNo, qint64(4));
    QCOMPARE(chosenRows().size(), 1);
    QCOMPARE(chosenRows().first().row(), 2);
    QCOMPARE(data->List()->currentRow(), 3);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"History open!"});
}

QTEST_MAIN(TrendWindowTest)
#include "TrendWindowTest.moc"

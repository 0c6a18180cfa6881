// The results window as a user meets it inside the main frame: the graph
// read back from the painted pixels, the verdicts in their colours from one
// result to the next, the message when there is no result, how it closes,
// and its one fixed size; printing the result it shows through the printer
// dialog into a real PDF. A result is made current the way a person makes
// it so, by choosing its line in the data window. The locale is pinned so
// dates read 07.12.2002.
#include "results/ResultsWindow.h"
#include "FakeClock.h"
#include "HistoryFiles.h"
#include "LabelEdges.h"
#include "MenuItem.h"
#include "PdfPages.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "results/DynamicsGraph.h"
#include "results/GraphDecoration.h"
#include "session/RunTimer.h"
#include "session/TestWindow.h"
#include "shell/MainFrame.h"
#include "trend/TrendWindow.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <QTest>
#include <QTimer>
#include <sys/stat.h>

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

// The painted pixels of one colour within `within` pixels of a point.
int pixelsNear(const QImage &image, const QColor &colour, QPoint at, int within)
{
    int found = 0;
    for (int y = at.y() - within; y <= at.y() + within; ++y)
        for (int x = at.x() - within; x <= at.x() + within; ++x)
            found += image.valid(x, y) && image.pixelColor(x, y) == colour;
    return found;
}

bool painted(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    return pixelsNear(image, colour, image.rect().center(), image.width()) > 0;
}

} // namespace

class ResultsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void cleanup();
    void graphPixels_data();
    void graphPixels();
    void readsAsCounted_data();
    void readsAsCounted();
    void verdictColoursDoNotLeak_data();
    void verdictColoursDoNotLeak();
    void afterARun();
    void bordersAllRound_data();
    void bordersAllRound();
    void printsTheResultShown_data();
    void printsTheResultShown();
    void oneCmfByEveryRoute_data();
    void oneCmfByEveryRoute();

private:
    // Stores a test, chooses its line in the data window and brings the
    // results window up with it.
    ResultsWindow *Show(const Counts &counts, std::int16_t cmf,
                        const QString &name = QStringLiteral("Ann Lee"));
    // Chooses the test on this line of the data window.
    void Choose(const Counts &counts, std::int16_t cmf, const QString &name);

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    FakeClock m_clock;
    MainFrame *m_frame = nullptr;
};

void ResultsWindowTest::init()
{
    const QString history = m_dir.filePath(QStringLiteral("restest.dat"));
    QFile::remove(history);
    m_dialogs.Clear();
    Platform::SetClock(&m_clock);
    m_frame = new MainFrame(history);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
}

void ResultsWindowTest::cleanup()
{
    delete m_frame;
    Platform::SetClock(nullptr);
}

void ResultsWindowTest::Choose(const Counts &counts, std::int16_t cmf, const QString &name)
{
    QFile file(m_frame->HistoryInUse());
    QVERIFY(file.open(QIODevice::Append));
    const std::array<std::int16_t, 4> stored{std::int16_t(counts[0]), std::int16_t(counts[1]),
                                             std::int16_t(counts[2]), std::int16_t(counts[3])};
    file.write(
        HistoryFiles::record(name, HistoryFiles::Dec7, 0.6041666666666666, cmf, stored).Encode());
    file.close();
    // Chosen in a data window already open, the line is chosen without
    // the results window losing the activation.
    auto *data = m_frame->Child<DataWindow>();
    if (data == nullptr)
        data = m_frame->ShowChild<DataWindow>();
    data->RefreshList();
    data->SelectRecord(data->List()->count());
}

ResultsWindow *ResultsWindowTest::Show(const Counts &counts, std::int16_t cmf, const QString &name)
{
    Choose(counts, cmf, name);
    if (m_frame->Child<ResultsWindow>() != nullptr)
        m_frame->ShowChild<OtherWindow>();
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    return m_frame->Child<ResultsWindow>();
}

// Points in graph coordinates that must be painted red, and the ends of the
// trend; counts far outside the box still cross it as steep clipped lines
// (its top edge is at y = -4080, its bottom edge at 615).
void ResultsWindowTest::graphPixels_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<QPolygonF>("points");
    QTest::addColumn<QLineF>("trend");
    QTest::newRow("level") << Counts{40, 40, 40, 40}
                           << QPolygonF({{360, -3600}, {1080, -3600}, {1800, -3600}, {2520, -3600}})
                           << QLineF(0, -3600, 3100, -3600);
    // The trend would reach into the graph's caption: 72 twips a press.
    QTest::newRow("rising past the top line")
        << Counts{30, 34, 38, 42}
        << QPolygonF({{360, -2160}, {1080, -2448}, {1800, -2736}, {2520, -3024}})
        << QLineF(0, -2016, 3100, -3256);
    // Squeezed to fit between the room under the axis and the top line.
    QTest::newRow("16-bit extremes")
        << Counts{32767, -32768, 0, 32767}
        << QPolygonF({{360, -589.8}, {1080, 589.8}, {1800, 0}, {2520, -589.8}})
        << QLineF(0, 147.5, 3100, -487.4);
    QTest::newRow("beyond any pixel")
        << Counts{1e30F, -1e30F, 1e30F, -1e30F}
        << QPolygonF({{720, -4070}, {720, 600}, {1440, -4070}, {1440, 600}, {2160, 0}})
        << QLineF(0, 0, 3100, 0);
}

void ResultsWindowTest::graphPixels()
{
    QFETCH(Counts, counts);
    QFETCH(QPolygonF, points);
    QFETCH(QLineF, trend);
    // Counts beyond 16 bits come only from elsewhere: drawn straight in.
    const bool stored = std::abs(counts[0]) <= 32768;
    ResultsWindow *window = Show(stored ? counts : Counts{1, 1, 1, 1}, 0);
    if (!stored) {
        window->Graph()->Cls();
        DynamicsGraph::DrawDynamics(counts[0], counts[1], counts[2], counts[3], *window->Graph());
    }
    const QImage graph = window->Graph()->Image();
    for (QPointF point : points)
        QVERIFY(pixelsNear(graph, Qt::red, pixelOf(point.x(), point.y()), 1) > 0);
    // The dotted trend runs from end to end, and not a pixel beyond.
    const QColor grey(128, 128, 128);
    for (QPointF end : {trend.p1(), trend.p2()}) {
        if (trend.isNull())
            break;
        QVERIFY(pixelsNear(graph, grey, pixelOf(end.x(), end.y()), 2) > 0);
        const QPoint beyond = pixelOf(end.x() + (end.x() > 0 ? 90 : -90), end.y());
        QCOMPARE(pixelsNear(graph, grey, beyond, 2), 0);
    }
    // On the screen the frame of the graph lies over the plot: the top line
    // stays black where the level result runs along it, the y axis too.
    const QImage screen = window->Graph()->grab().toImage();
    QCOMPARE(screen.pixelColor(pixelOf(1000, -3600)), GraphDecoration::Black());
    QCOMPARE(screen.pixelColor(pixelOf(0, -2000)), GraphDecoration::Black());
    QCOMPARE(screen.pixelColor(pixelOf(1000, -720)), GraphDecoration::LightGrey());
}

// What a person reading the graph gets: each point read off the scale
// through the captions beside the grid lines is the count it stands for,
// each point has its count written beside it in the line's colour, and
// nothing is drawn outside the box.
void ResultsWindowTest::readsAsCounted_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::newRow("19 47 8 60") << Counts{19, 47, 8, 60};
    QTest::newRow("designed scale") << Counts{19, 25, 30, 22};
    QTest::newRow("ten a second") << Counts{50, 50, 49, 48};
    QTest::newRow("level at the top line") << Counts{40, 40, 40, 40};
}

void ResultsWindowTest::readsAsCounted()
{
    QFETCH(Counts, counts);
    ResultsWindow *window = Show(counts, 0);
    const GraphDecoration *decoration = window->Decoration();
    // The left captions from the axis up, each at the height of its centre.
    QList<QPair<double, double>> scale;
    for (int index : {4, 6, 7, 8, 9, 10}) {
        const QLabel *caption = decoration->ScaleCaption(index);
        bool number = false;
        const double value = caption->text().toDouble(&number);
        QVERIFY2(number, qPrintable(caption->text()));
        scale.append({caption->geometry().center().y() + 0.5, value});
    }
    // Between the two captions around y, or past the nearest end by the
    // end's own spacing (a point on the top line may lie half a pixel
    // above its caption's centre).
    const auto read = [&](double y) {
        int i = 0;
        while (i + 2 < scale.size() && y < scale[i + 1].first)
            ++i;
        const auto [y0, v0] = scale[i];
        const auto [y1, v1] = scale[i + 1];
        return v0 + (y0 - y) * (v1 - v0) / (y0 - y1);
    };
    const QImage graph = window->Graph()->Image();
    for (int i = 0; i < 4; ++i) {
        // The middle of the 2-pixel line where it passes the point's column.
        const int x = pixelOf(360 + 720 * i, 0).x();
        QList<int> reds;
        for (int y = 0; y < graph.height(); ++y)
            if (graph.pixelColor(x, y) == QColor(Qt::red))
                reds << y;
        QVERIFY(!reds.isEmpty());
        const double pointY = (reds.first() + reds.last()) / 2.0;
        const double value = read(pointY);
        QVERIFY2(qAbs(value - counts[i]) <= 1.0,
                 qPrintable(QStringLiteral("count %1 reads %2").arg(counts[i]).arg(value)));
        // Its number: dark text pixels just above or below the point (the
        // plot itself has only red and grey).
        int text = 0;
        for (int y = int(pointY) - 20; y <= int(pointY) + 20; ++y)
            for (int dx = -12; dx <= 12; ++dx)
                text += graph.valid(x + dx, y) && qGray(graph.pixel(x + dx, y)) < 100;
        QVERIFY2(text > 8, qPrintable(QStringLiteral("no number beside point %1").arg(i + 1)));
    }
    // Nothing red above the top grid line, where the graph's caption is.
    const int topLine = pixelOf(0, -3600).y();
    for (int y = 0; y < topLine - 1; ++y)
        for (int x = 0; x < graph.width(); ++x)
            QVERIFY(graph.pixelColor(x, y) != QColor(Qt::red));
}

void ResultsWindowTest::verdictColoursDoNotLeak_data()
{
    QTest::addColumn<Counts>("before");
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("cmf");
    QTest::addColumn<QColor>("resultsColour");
    QTest::addColumn<QString>("reliability");
    QTest::addColumn<QColor>("reliabilityColour");
    QTest::newRow("Reliable after Unreliable, Normal after Abnormal")
        << Counts{29, 28, 27, 29} << Counts{40, 40, 40, 40} << 0 << QColor(0, 128, 0) << "Reliable"
        << QApplication::palette().color(QPalette::ButtonText);
    QTest::newRow("Unreliable after Reliable")
        << Counts{40, 38, 36, 30} << Counts{30, 34, 38, 42} << -1 << QColor(0, 128, 0)
        << "Unreliable" << QColor(Qt::red);
}

void ResultsWindowTest::verdictColoursDoNotLeak()
{
    QFETCH(Counts, before);
    QFETCH(Counts, counts);
    QFETCH(int, cmf);
    QFETCH(QColor, resultsColour);
    QFETCH(QColor, reliabilityColour);
    ResultsWindow *window = Show(before, 25);
    QCOMPARE(Show(counts, std::int16_t(cmf)), window);
    QCOMPARE(window->ResultsBox()->text(), "Normal");
    QTEST(window->ReliabilityBox()->text(), "reliability");
    // Each text is painted in its colour and in no other verdict colour.
    for (const QColor &other : {QColor(Qt::red), QColor(0, 128, 0)}) {
        QCOMPARE(painted(window->ResultsBox(), other), other == resultsColour);
        QCOMPARE(painted(window->ReliabilityBox(), other), other == reliabilityColour);
    }
    QVERIFY(painted(window->ReliabilityBox(), reliabilityColour));
    // Nothing of the earlier graph is left under the new one.
    ResultsWindow fresh;
    DynamicsGraph::DrawDynamics(counts[0], counts[1], counts[2], counts[3], *fresh.Graph());
    QCOMPARE(window->Graph()->Image(), fresh.Graph()->Image());

    // Without a result the window says so and keeps showing this one.
    const QImage graph = window->Graph()->Image();
    Show({0, 40, 40, 40}, 0);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"There are no data!"});
    QCOMPARE(window->Graph()->Image(), graph);
    QTEST(window->ReliabilityBox()->text(), "reliability");
}

// A whole run in the test window, then "Next >>": the frame has grown and
// the button is still usable at the moment the results window activates.
// The close box only closes; Cancel forgets the result.
void ResultsWindowTest::afterARun()
{
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0));
    TestWindow *test = m_frame->ShowChild<TestWindow>();
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    test->StartButton()->click();
    for (int count : {12, 40, 38, 36, 35}) {
        for (int i = 0; i < count; ++i) {
            QTest::keyPress(test->Diagram(), Qt::Key_A);
            QTest::keyRelease(test->Diagram(), Qt::Key_A);
        }
        m_clock.AdvanceMs(5000);
        test->Run().Intervals()->EndIntervalNow();
    }
    const int startHeight = m_frame->frameGeometry().height();
    bool orderKept = false;
    // Only for this click: the frame outlives this function's locals and
    // activates windows again when it is torn down.
    const auto watch =
        connect(m_frame->MdiArea(), &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow *sub) {
            orderKept = sub != nullptr && qobject_cast<ResultsWindow *>(sub->widget()) &&
                        m_frame->frameGeometry().height() > startHeight &&
                        test->NextButton()->isEnabled();
        });
    test->NextButton()->click();
    disconnect(watch);
    ResultsWindow *window = m_frame->Child<ResultsWindow>();
    QVERIFY(orderKept);
    QVERIFY(!test->NextButton()->isEnabled());
    QStringList texts;
    for (QLabel *label : {window->NameBox(), window->DateBox(), window->TimeBox(),
                          window->ResultsBox(), window->ReliabilityBox()})
        texts << label->text().trimmed();
    QCOMPARE(texts, (QStringList{"Ann", "07.12.2002", "14:30:25", "Abnormal", "Reliable"}));
    QVERIFY(window->CancelButton()->hasFocus());

    // One size, whatever is tried.
    const QSize fixed = Twips::ToPixels(5260 * 1.61, 5260);
    QCOMPARE(window->SubWindow()->size(), fixed);
    window->SubWindow()->resize(fixed * 2);
    QCOMPARE(window->SubWindow()->size(), fixed);

    const auto result = m_frame->Current().Get();
    QVERIFY(result.has_value());
    QCOMPARE(result->record.RecCounts, (std::array<std::int16_t, 4>{40, 38, 36, 35}));
    window->SubWindow()->close();
    QTRY_COMPARE(m_frame->Child<ResultsWindow>(), nullptr);
    QCOMPARE(m_frame->Current().Get(), result);
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    window = m_frame->Child<ResultsWindow>();
    QCOMPARE(window->ResultsBox()->text(), "Abnormal");
    window->CancelButton()->click();
    QTRY_COMPARE(m_frame->Child<ResultsWindow>(), nullptr);
    QVERIFY(!m_frame->Current().Get());
    // Opened again, it says so and keeps its design texts.
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"There are no data!"});
    QCOMPARE(m_frame->Child<ResultsWindow>()->ResultsBox()->text(), "There are no data!");
    QCOMPARE(m_frame->Child<ResultsWindow>()->NameBox()->text(), QString());
}

void ResultsWindowTest::bordersAllRound_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("cmf");
    QTest::newRow("Normal, Reliable") << Counts{40, 40, 40, 40} << 0;
    QTest::newRow("Abnormal, Unreliable") << Counts{20, 18, 16, 15} << 25;
}

// Each boxed label shows one line on all four sides, off the white it is
// filled with, and the same line whatever colour its text takes.
void ResultsWindowTest::bordersAllRound()
{
    QFETCH(Counts, counts);
    QFETCH(int, cmf);
    ResultsWindow *window = Show(counts, std::int16_t(cmf));
    const QRgb white = window->NameBox()->palette().color(QPalette::Window).rgb();
    const QList<QSet<QRgb>> line = labelEdges(window->NameBox());
    for (const char *name : {"lblNm", "lblDt", "lblTm", "Label3", "lblValid"}) {
        auto *label = window->findChild<QLabel *>(QLatin1String(name));
        QVERIFY(label != nullptr);
        const QList<QSet<QRgb>> sides = labelEdges(label);
        for (int side = 0; side < 4; ++side) {
            QCOMPARE(sides[side].size(), 1);
            QVERIFY2(!sides[side].contains(white), name);
            QCOMPARE(sides[side], line[0]);
        }
    }
}

// Ctrl+P and the context menu print the result on the screen through the
// printer dialog, even after another test has been chosen, and change
// nothing of the current result; without a result the window says so and
// asks nothing.
void ResultsWindowTest::printsTheResultShown_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Ctrl+P") << "keys" << true << true;
    QTest::newRow("context menu") << "menu" << true << true;
    QTest::newRow("printer dialog cancelled") << "keys" << true << false;
    QTest::newRow("no result") << "keys" << false << true;
}

void ResultsWindowTest::printsTheResultShown()
{
    QFETCH(QString, how);
    QFETCH(bool, result);
    QFETCH(bool, answer);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the printed page");
    m_clock.Set(QDate(2002, 12, 9), QTime(9, 0, 0));
    ResultsWindow *window = Show(result ? Counts{40, 38, 36, 35} : Counts{0, 0, 0, 0}, 13);
    // The data window makes another record current; the results window
    // still shows Ann's until it is activated again.
    Choose({25, 25, 25, 25}, 0, QStringLiteral("Bob"));
    const auto before = m_frame->Current().Get();
    QCOMPARE(before->record.RecName.trimmed(), QStringLiteral("Bob"));

    m_dialogs.Clear();
    const QString pdf = m_dir.filePath(QStringLiteral("result.pdf"));
    QFile::remove(pdf);
    if (answer)
        m_dialogs.QueuePrinter([pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        });
    else
        m_dialogs.QueuePrinter(std::nullopt);
    QStringList menu;
    if (how == "menu") {
        QTimer::singleShot(0, [&menu] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup != nullptr);
            for (QAction *action : popup->actions())
                menu << action->text() + QLatin1Char('\t') + action->shortcut().toString();
            popup->setActiveAction(popup->actions().value(0));
            QTest::keyClick(popup, Qt::Key_Return);
        });
        const QPoint at = window->NameBox()->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->NameBox()->mapToGlobal(at));
        QApplication::sendEvent(window->NameBox(), &event);
        QCOMPARE(menu, QStringList{"Print result...\tCtrl+P"});
    } else {
        QTest::keyClick(window->CancelButton(), Qt::Key_P, Qt::ControlModifier);
    }

    QCOMPARE(m_dialogs.MessageTexts(),
             result ? QStringList() : QStringList{QStringLiteral("There are no data!")});
    QCOMPARE(m_dialogs.Log().size(), 1);
    QCOMPARE(std::holds_alternative<Dialogs::PrinterRequest>(m_dialogs.Log().first()), result);
    QCOMPARE(m_frame->Current().Get(), before);
    QCOMPARE(QFile::exists(pdf), result && answer);
    if (!QFile::exists(pdf))
        return;
    // Offered beside the history in use, and as private as it.
    const auto request = std::get<Dialogs::PrinterRequest>(m_dialogs.Log().first());
    QCOMPARE(request.initDir, QFileInfo(m_frame->HistoryInUse()).absolutePath());
    const mode_t umask = ::umask(0);
    ::umask(umask);
    struct stat info = {};
    QCOMPARE(::stat(qPrintable(pdf), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0660 & ~umask);
    const auto pages = PdfPages::pagesOf(pdf);
    QCOMPARE(pages.size(), 1);
    const QStringList words = PdfPages::wordsOf(pages.first());
    for (const char *word : {"Ann", "Lee", "07.12.2002", "Abnormal", "Reliable", "09.12.2002"})
        QVERIFY2(words.contains(QLatin1String(word)), word);
    QVERIFY(!words.contains(QStringLiteral("Bob")));
}

void ResultsWindowTest::oneCmfByEveryRoute_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    for (const char *route : {"View > Results", "Results button", "trend"}) {
        QTest::addRow("%s, a rise stored as -5", route)
            << QString::fromLatin1(route) << Counts{40, 40, 41, 42} << -5 << -1;
        QTest::addRow("%s, stored above 100", route)
            << QString::fromLatin1(route) << Counts{40, 30, 20, 0} << 130 << 100;
    }
}

// A record another program wrote, its CMF outside what this one stores:
// the results window and its printed page show the CMF as the list does,
// whichever way the test was brought up.
void ResultsWindowTest::oneCmfByEveryRoute()
{
    QFETCH(QString, route);
    QFETCH(Counts, counts);
    QFETCH(int, stored);
    QFETCH(int, shown);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the printed page");
    Choose(counts, std::int16_t(stored), QStringLiteral("Foreign"));
    auto *data = m_frame->Child<DataWindow>();
    if (route == "Results button") {
        data->ResultsButton()->click();
    } else {
        if (route == "trend") {
            // Chosen in the trend after another test was made current.
            m_frame->OnTrend();
            Choose({30, 30, 30, 30}, 0, QStringLiteral("Other"));
            m_frame->Child<TrendWindow>()->Table()->selectRow(0);
        }
        MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    }
    ResultsWindow *window = m_frame->Child<ResultsWindow>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->NameBox()->text().trimmed(), QStringLiteral("Foreign"));
    QVERIFY2(window->Graph()->accessibleDescription().endsWith(QStringLiteral("CMF %1").arg(shown)),
             qPrintable(window->Graph()->accessibleDescription()));
    const QString pdf = m_dir.filePath(QStringLiteral("cmf.pdf"));
    QFile::remove(pdf);
    m_dialogs.QueuePrinter([pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    QTest::keyClick(window->CancelButton(), Qt::Key_P, Qt::ControlModifier);
    const auto pages = PdfPages::pagesOf(pdf);
    QCOMPARE(pages.size(), 1);
    const QStringList words = PdfPages::wordsOf(pages.first());
    QVERIFY(words.contains(QString::number(shown)));
    QVERIFY(!words.contains(QString::number(stored)));
}

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"

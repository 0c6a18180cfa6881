// The trend window as a person opens it: the real program in a private X
// server under a window manager, a history of four tests of one person
// among others', View > Data through the keyboard, then a double click with
// the mouse on that person's line. What the X server then shows is read
// back from the screen: the chart must be there, its points in the results
// window's green and red and the first counts in their blue, each on many
// more pixels than before the double click. The screen is read by this
// program itself, started again as a Qt application on the test's display.
// Then the mouse resting on a point of the chart: this program again,
// as the frame with the trend window on the same display, the pointer
// moved by xdotool through the X server, so the tooltip comes as the
// window system asks for it.
#include "HistoryFiles.h"
#include "Processes.h"
#include "ProgramCopy.h"
#include "ProgramOnX.h"
#include "ScriptedPlatform.h"
#include "XDesktop.h"
#include "shell/MainFrame.h"
#include "trend/TrendWindow.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineSeries>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolTip>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace HistoryFiles;

namespace {

const char *const GrabOption = "--grab-screen";
const char *const RestOption = "--rest-on-point";

// Anna's first test is Normal and Reliable, so the data window's details
// of the line selected at its opening show no red of their own.
const QList<HistoryRecord> History = {
    record("Anna Petrova", Dec7, 0.375, 5, {40, 39, 38, 38}),
    record("Boris", Dec7, 0.40, 0, {50, 50, 50, 50}),
    record("Anna Petrova", Dec7 + 3, 0.5, 12, {44, 40, 39, 39}),
    record("Boris", Dec7 + 3, 0.6, 0, {50, 50, 50, 50}),
    record("Anna Petrova", Dec7 + 6, 0.625, 4, {25, 25, 24, 24}),
    record("Anna Petrova", Dec7 + 9, 0.75, 20, {20, 19, 17, 16}),
};

// The colours the trend draws in: the results window's Normal and
// Abnormal and the first counts' blue.
const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);
const QColor Blue(0, 90, 200);

// Runs as a child on the test's display: saves the screen into the file
// and writes the colour the program's lists mark a selected line with.
int grabScreen(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::printf("%s\n", qPrintable(QApplication::palette().color(QPalette::Highlight).name()));
    return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]))
               ? 0
               : 1;
}

// Runs as a child on the test's display: the frame with the trend of the
// history's first person, the pointer moved by xdotool onto the third
// test's point and left there, then moved off. Prints the tooltip shown
// (its lines joined by |) and whether it went again.
int restOnPoint(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ScriptedPlatform platform;
    MainFrame frame(QString::fromLocal8Bit(argv[2]));
    frame.show();
    frame.OnData();
    frame.OnTrend();
    const TrendWindow *trend = frame.Child<TrendWindow>();
    // Placed by the window manager, and the chart laid out.
    if (trend == nullptr || !QTest::qWaitForWindowActive(&frame))
        return 1;
    QTest::qWait(1000);
    QChartView *view = trend->ChartView();
    const QPoint at = view->viewport()->mapToGlobal(view->mapFromScene(view->chart()->mapToScene(
        view->chart()->mapToPosition(QPointF(2, History[4].RecCMF), trend->CmfLine()))));
    const auto pointTo = [](QPoint to) {
        return QProcess::execute(QStringLiteral("xdotool"),
                                 {QStringLiteral("mousemove"), QString::number(to.x()),
                                  QString::number(to.y())}) == 0;
    };
    // Up to the point, as a hand brings it there, and left on it.
    if (!pointTo(at + QPoint(-30, 12)) || (QTest::qWait(200), !pointTo(at + QPoint(1, 1))))
        return 1;
    const bool shown = QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000);
    std::printf("tooltip %s\n", shown ? qPrintable(QToolTip::text().replace('\n', '|')) : "none");
    if (!pointTo(at + QPoint(40, 40)))
        return 1;
    const bool gone = QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000);
    std::printf("%s\n", gone ? "gone" : "stays");
    return 0;
}

int count(const QImage &image, const QColor &colour)
{
    const QRgb wanted = colour.rgb();
    int found = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            found += (line[x] | 0xff000000) == wanted ? 1 : 0;
    }
    return found;
}

// The middle of the lowest band of screen lines that are mostly the
// selection colour: the selected line of the list, below the active
// window's title bar of much the same colour. The style shades the line a
// little from top to bottom, so near is enough.
std::optional<QPoint> selectedLine(const QImage &image, const QColor &highlight)
{
    const auto isHighlight = [&highlight](QRgb pixel) {
        return std::abs(qRed(pixel) - highlight.red()) <= 12 &&
               std::abs(qGreen(pixel) - highlight.green()) <= 12 &&
               std::abs(qBlue(pixel) - highlight.blue()) <= 12;
    };
    int bestTop = -1, bestHeight = 0, top = -1;
    QList<int> lefts(image.height(), 0), rights(image.height(), 0);
    for (int y = 0; y <= image.height(); ++y) {
        int marked = 0;
        if (y < image.height()) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            int left = -1, right = -1;
            for (int x = 0; x < image.width(); ++x) {
                if (isHighlight(line[x])) {
                    ++marked;
                    right = x;
                    if (left < 0)
                        left = x;
                }
            }
            lefts[y] = left;
            rights[y] = right;
        }
        if (marked >= 150 && top < 0)
            top = y;
        if (marked < 150 && top >= 0) {
            if (y - top >= 8) {
                bestTop = top;
                bestHeight = y - top;
            }
            top = -1;
        }
    }
    if (bestHeight < 8)
        return std::nullopt;
    const int middle = bestTop + bestHeight / 2;
    return QPoint(lefts[bestTop] + 40, middle);
}

} // namespace

class TrendOnXTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void doubleClickShowsTheChart();
    void restingOnAPointShowsItsTest();

private:
    // The screen as it is now, and the selection colour.
    QImage Grab(QColor *highlight = nullptr);

    std::unique_ptr<XDesktop> m_desktop;
    std::unique_ptr<ProgramCopy> m_program;
    QTemporaryDir m_dir;
};

void TrendOnXTest::initTestCase()
{
    QVERIFY2(QFileInfo::exists(QStringLiteral(VELMORA_PROGRAM)), VELMORA_PROGRAM);
    m_desktop = std::make_unique<XDesktop>();
    const QString error = m_desktop->Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TrendOnXTest::cleanupTestCase()
{
    if (m_program)
        m_program->Stop();
    m_program.reset();
    m_desktop.reset();
}

QImage TrendOnXTest::Grab(QColor *highlight)
{
    const QString file = m_dir.filePath(QStringLiteral("screen.png"));
    QFile::remove(file);
    QByteArray output;
    if (!Processes::Run(QCoreApplication::applicationFilePath(), {QLatin1String(GrabOption), file},
                        m_desktop->Environment(), 20000, &output))
        return {};
    if (highlight != nullptr)
        *highlight = QColor(QString::fromLatin1(output.trimmed()));
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

void TrendOnXTest::doubleClickShowsTheChart()
{
    m_program = std::make_unique<ProgramCopy>(QStringLiteral(VELMORA_PROGRAM));
    QVERIFY2(m_program->Error().isEmpty(), qPrintable(m_program->Error()));
    QVERIFY(put(m_program->HistoryPath(), bytesOf(History)));
    ProgramOnX onX(*m_desktop, *m_program);
    const QString error = onX.Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(onX.Menu({QStringLiteral("alt+v"), QStringLiteral("d")}));

    // The data window opens with Anna's line, the first, selected.
    QColor highlight;
    QImage before;
    std::optional<QPoint> line;
    QElapsedTimer waited;
    waited.start();
    while (!line && waited.elapsed() < 15000) {
        QThread::msleep(200);
        before = Grab(&highlight);
        QVERIFY2(!before.isNull(), "the screen could not be read");
        line = selectedLine(before, highlight);
    }
    if (!line)
        before.save(QDir(QDir::tempPath()).filePath(QStringLiteral("trend-on-x.png")));
    QVERIFY2(line, qPrintable("no selected line in " + highlight.name()));
    // Red is on the screen already, in the Clear button's picture.
    const int greenBefore = count(before, Green);
    const int redBefore = count(before, Red);
    const int blueBefore = count(before, Blue);

    QVERIFY(m_desktop->Xdotool(
        {QStringLiteral("mousemove"), QString::number(line->x()), QString::number(line->y()),
         QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
         QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")}));
    // Points and legend entries of each colour, whole, in the chart.
    QImage after;
    QString counts;
    waited.restart();
    bool shown = false;
    while (!shown && waited.elapsed() < 15000) {
        QThread::msleep(200);
        after = Grab();
        const int green = count(after, Green) - greenBefore;
        const int red = count(after, Red) - redBefore;
        const int blue = count(after, Blue) - blueBefore;
        counts = QStringLiteral("green %1, red %2, blue %3").arg(green).arg(red).arg(blue);
        shown = green >= 60 && red >= 60 && blue >= 60;
    }
    if (!shown)
        after.save(QDir(QDir::tempPath()).filePath(QStringLiteral("trend-on-x.png")));
    QVERIFY2(shown, qPrintable(counts));
    qInfo("pixels added by the chart: %s", qPrintable(counts));
    QVERIFY(m_program->IsRunning());
}

void TrendOnXTest::restingOnAPointShowsItsTest()
{
    // The program of the test before would only be in the way.
    if (m_program)
        m_program->Stop();
    const QString path = m_dir.filePath(QStringLiteral("anna.dat"));
    QVERIFY(put(path, bytesOf(History)));
    QByteArray output;
    const bool ran =
        Processes::Run(QCoreApplication::applicationFilePath(), {QLatin1String(RestOption), path},
                       m_desktop->Environment(), 60000, &output);
    QVERIFY2(ran, output.constData());
    QCOMPARE(QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{"tooltip 13.12.2002 15:00:00|c1-c4: 25, 25, 24, 24|CMF 4|Normal, "
                          "Unreliable",
                          "gone"}));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], GrabOption) == 0)
        return grabScreen(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], RestOption) == 0)
        return restOnPoint(argc, argv);
    QCoreApplication app(argc, argv);
    TrendOnXTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "TrendOnXTest.moc"

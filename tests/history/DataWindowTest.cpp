// The data window inside the real main frame, on real history files: what
// it lists and shows of each record, down to the colours drawn, which
// record it makes the current result, how it survives damaged files, and
// how the File menu follows it.
#include "history/DataWindow.h"
#include "HistoryFiles.h"
#include "LabelEdges.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/Twips.h"
#include "results/ResultsWindow.h"
#include "shell/MainFrame.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <limits>

using namespace HistoryFiles;

namespace {

constexpr double HalfPast2 = 0.6041666666666666; // 14:30:00
const HistoryRecord Good = record("Good", Dec7, HalfPast2, 0, {30, 30, 30, 30});

// Whether the label as drawn has red in it: text edges are blended with
// the background, so any clearly red pixel counts.
bool drawnInRed(QLabel *label)
{
    const QImage image = label->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() - std::max(c.green(), c.blue()) > 100)
                return true;
        }
    }
    return false;
}

// The runs of columns of the image within band that hold any dark pixel,
// first and last column of each; a run ends at a gap of gap columns.
QList<std::pair<int, int>> inkRuns(const QImage &image, const QRect &band, int gap)
{
    QList<std::pair<int, int>> runs;
    int blank = gap;
    for (int x = band.left(); x <= band.right(); ++x) {
        bool ink = false;
        for (int y = band.top(); y <= band.bottom() && !ink; ++y)
            ink = qGray(image.pixel(x, y)) < 128;
        if (!ink) {
            ++blank;
            continue;
        }
        if (blank >= gap)
            runs.append({x, x});
        runs.last().second = x;
        blank = 0;
    }
    return runs;
}

} // namespace

class DataWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void cleanup();
    void details_data();
    void details();
    void detailBordersAllRound();
    void columnsStayUnderTitles();
    void unusualFiles_data();
    void unusualFiles();
    void fileMenuFollowsTheWindow_data();
    void fileMenuFollowsTheWindow();
    void historyCommandsRefreshTheWindow_data();
    void historyCommandsRefreshTheWindow();
    void openOldWithNothingToSelect();

private:
    DataWindow *Open();
    QString Path() const { return m_dir.filePath(QStringLiteral("restest.dat")); }
    int EnabledFileItems() const;

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    HelpRequests &m_help = m_platform.help;
    MainFrame *m_frame = nullptr;
};

void DataWindowTest::init()
{
    QFile::remove(Path());
    QDir(m_dir.filePath(QStringLiteral("res"))).removeRecursively();
    m_dialogs.Clear();
    m_help.Clear();
    m_frame = new MainFrame(Path());
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void DataWindowTest::cleanup()
{
    delete m_frame;
}

DataWindow *DataWindowTest::Open()
{
    MenuItem(m_frame, QStringLiteral("mnuDat"))->trigger();
    return m_frame->Child<DataWindow>();
}

int DataWindowTest::EnabledFileItems() const
{
    int enabled = 0;
    for (const char *name : {"mnuSave", "mnuExport", "mnuClear", "mnuPr"})
        enabled += MenuItem(m_frame, QLatin1String(name))->isEnabled() ? 1 : 0;
    return enabled;
}

void DataWindowTest::details_data()
{
    QTest::addColumn<HistoryRecord>("shown");
    // Date, time, CMF, results and reliability as shown.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("resultsRed");
    QTest::addColumn<bool>("reliabilityRed");
    QTest::newRow("stored -7, a Cyrillic name")
        << record("Сидорова Анна", Dec7 + 1, 0.25, -7, {40, 40, 40, 41})
        << QStringList{"08.12.2002", "06:00:00", "-1", "Normal", "Unreliable"} << false << true;
    QTest::newRow("stored 130, not capped here")
        << record("Drop", Dec7, 0.5, 130, {40, 30, 20, 0})
        << QStringList{"07.12.2002", "12:00:00", "130", "Abnormal", "Reliable"} << true << false;
    QTest::newRow("Normal and Reliable after two reds")
        << record("Even", Dec7, 0.5, 10, {30, 30, 30, 27})
        << QStringList{"07.12.2002", "12:00:00", "10", "Normal", "Reliable"} << false << false;
    QTest::newRow("a name that looks like markup")
        << record("<b>Ann</b> &amp; Zed", Dec7, 0.5, 10, {30, 30, 30, 27})
        << QStringList{"07.12.2002", "12:00:00", "10", "Normal", "Reliable"} << false << false;
}

void DataWindowTest::details()
{
    QFETCH(HistoryRecord, shown);
    QFETCH(QStringList, texts);
    QFETCH(bool, resultsRed);
    // Abnormal and Unreliable first, so a colour left behind would show.
    const HistoryRecord red = record("Red", Dec7, HalfPast2, 50, {20, 15, 12, 10});
    QVERIFY(put(Path(), bytesOf({red, shown})));
    DataWindow *window = Open();
    QListWidget *list = window->List();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(),
             "Red                  * 07.12.2002 * 14:30:00     *  50  * Abnormal * Unreliable");
    QVERIFY(list->item(1)->text().startsWith(shown.RecName));
    // The first line is selected and shown, and is the current result.
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(window->NameDetail()->text(), red.RecName);
    QCOMPARE(m_frame->Current().Get(), TestResult::Of(red, Path(), 1));
    QVERIFY(drawnInRed(window->ResultsDetail()));
    QVERIFY(drawnInRed(window->ReliabilityDetail()));
    // Results with no line selected, or on a line whose record is gone
    // from the file, have nothing to show.
    list->clearSelection();
    window->ResultsButton()->click();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"No data!"});
    QCOMPARE(m_frame->Child<ResultsWindow>(), nullptr);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(window->NameDetail()->text(), shown.RecName);
    // The name is laid out as it is stored, every character of it, never
    // read as markup.
    const QString name = shown.RecName.trimmed();
    QVERIFY2(window->NameDetail()->sizeHint().width() >=
                 window->NameDetail()->fontMetrics().horizontalAdvance(name),
             qPrintable(name));
    QStringList shownTexts;
    for (QLabel *label : {window->DateDetail(), window->TimeDetail(), window->CmfDetail(),
                          window->ResultsDetail(), window->ReliabilityDetail()})
        shownTexts << label->text();
    QCOMPARE(shownTexts, texts);
    QTEST(drawnInRed(window->ResultsDetail()), "resultsRed");
    QTEST(drawnInRed(window->ReliabilityDetail()), "reliabilityRed");
    // Normal is in the button-text colour here, not the results window's
    // green.
    if (!resultsRed)
        QCOMPARE(window->ResultsDetail()->palette().color(QPalette::WindowText),
                 window->palette().color(QPalette::ButtonText));
    // The current result carries the CMF as the list shows it, and so does
    // the one Results brings up: one test, one CMF, whichever way.
    const TestResult current = TestResult::Of(shown, Path(), 2);
    QCOMPARE(m_frame->Current().Get(), current);
    QVERIFY(list->item(1)->text().contains(QStringLiteral(" *  %1").arg(current.Cmf())));
    window->ResultsButton()->click();
    QVERIFY(m_frame->Child<ResultsWindow>());
    QCOMPARE(m_frame->Current().Get(), current);
    QVERIFY(put(Path(), bytesOf({red})));
    window->ResultsButton()->click();
    QCOMPARE(m_dialogs.MessageTexts(), (QStringList{"No data!", "No data!"}));
    QCOMPARE(m_frame->Current().Get(), current);
}

// Each detail box shows one line on all four sides, off the white it is
// filled with, and the same line beside a red verdict as beside a name.
void DataWindowTest::detailBordersAllRound()
{
    QVERIFY(put(Path(), bytesOf({record("Red", Dec7, HalfPast2, 50, {20, 15, 12, 10})})));
    DataWindow *window = Open();
    auto *name = window->findChild<QLabel *>(QStringLiteral("Label6"));
    QVERIFY(name != nullptr);
    const QRgb white = name->palette().color(QPalette::Window).rgb();
    const QList<QSet<QRgb>> line = labelEdges(name);
    for (const char *object : {"Label6", "Label1", "Label2", "Label7", "Label9", "Label10"}) {
        auto *label = window->findChild<QLabel *>(QLatin1String(object));
        QVERIFY(label != nullptr);
        const QList<QSet<QRgb>> sides = labelEdges(label);
        for (int side = 0; side < 4; ++side) {
            QCOMPARE(sides[side].size(), 1);
            QVERIFY2(!sides[side].contains(white), object);
            QCOMPARE(sides[side], line[0]);
        }
    }
}

// Scrolled to either end, the list shows every word of a line whole, an
// "Unreliable" above a shorter "Reliable" line too, and each column title
// in sight starts where its column's text starts, as drawn.
void DataWindowTest::columnsStayUnderTitles()
{
    const HistoryRecord red = record("Red", Dec7, HalfPast2, 50, {20, 15, 12, 10});
    // The list sizes every line like one of them, the last here, which is
    // shorter than the one above it.
    QVERIFY(put(Path(), bytesOf({Good, red, Good})));
    DataWindow *window = Open();
    QListWidget *list = window->List();
    QCOMPARE(list->count(), 3);
    QVERIFY(list->item(2)->text().endsWith(QStringLiteral(" Reliable")));
    QScrollBar *bar = list->horizontalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const QFontMetrics metrics(list->font());
    // Wider than the gaps inside a word of the list, narrower than a blank.
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 4 / 5;
    for (const int scrolled : {0, bar->maximum()}) {
        bar->setValue(scrolled);
        const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect shown(list->viewport()->mapTo(window, QPoint()), list->viewport()->size());
        QRect line = list->visualItemRect(list->item(1));
        line.moveTopLeft(list->viewport()->mapTo(window, line.topLeft()));
        const auto words = inkRuns(image, line.intersected(shown), gap);
        QVERIFY(!words.isEmpty());
        if (scrolled > 0) {
            const int wordWidth = words.last().second - words.last().first + 1;
            QVERIFY2(words.last().second < shown.right() &&
                         wordWidth >= metrics.horizontalAdvance(QStringLiteral("Unreliable")) - 4,
                     qPrintable(QStringLiteral("the last word is %1 pixels wide").arg(wordWidth)));
        }
        int inSight = 0;
        for (QLabel *title : window->Titles()) {
            const QRect place(title->mapTo(window, QPoint()), title->size());
            if (place.left() < shown.left() || place.right() > shown.right())
                continue;
            ++inSight;
            const auto ink = inkRuns(image, place, gap);
            QVERIFY2(!ink.isEmpty(), qPrintable(title->text()));
            const auto under = std::min_element(words.cbegin(), words.cend(),
                                                [&ink](const auto &a, const auto &b) {
                                                    return std::abs(a.first - ink.first().first) <
                                                           std::abs(b.first - ink.first().first);
                                                });
            QVERIFY2(std::abs(under->first - ink.first().first) <= 3,
                     qPrintable(QStringLiteral("\"%1\" starts at %2, its column at %3")
                                    .arg(title->text())
                                    .arg(ink.first().first)
                                    .arg(under->first)));
        }
        QVERIFY(inSight >= 4);
    }
}

void DataWindowTest::unusualFiles_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<int>("lines");        // -1: whatever can be listed
    // The detail left blank for the record that ends the list.
    QTest::addColumn<QString>("blank");
    QTest::newRow("missing") << QByteArray() << 0 << QString();
    QTest::newRow("empty") << QByteArray("") << 0 << QString();
    QTest::newRow("less than one record") << QByteArray(40, 'x') << 0 << QString();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (quint32 seed : {1U, 2U, 3U}) {
        QByteArray noise(HistoryRecord::RecordLength * 40 + 17, Qt::Uninitialized);
        QRandomGenerator random(seed);
        for (char &byte : noise)
            byte = static_cast<char>(random.bounded(256));
        QTest::addRow("random bytes %u", seed) << noise << -1 << QString();
    }
    QTest::newRow("NaN date") << bytesOf({Good, record("X", nan, 0.5, 0, {30, 30, 30, 30}), Good})
                              << 1 << "Label1";
    QTest::newRow("infinite time")
        << bytesOf({Good, Good, record("X", Dec7, inf, 0, {30, 30, 30, 30})}) << 2 << "Label2";
    QTest::newRow("year 10000") << bytesOf({record("X", 3e6, 0.5, 0, {30, 30, 30, 30}), Good}) << 0
                                << "Label1";
    QTest::newRow("extreme counts and CMF")
        << bytesOf({record("X", Dec7, 0.5, -32768, {-32768, 32767, -1, 32767}),
                    record("Y", Dec7, 0.5, 32767, {32767, -32768, 0, -32768})})
        << 2 << QString();
    QTest::newRow("trailing partial record")
        << bytesOf({Good, Good}) + QByteArray(79, '\xff') << 2 << QString();
    HistoryRecord foreign = Good;
    foreign.RecName = QStringLiteral("Tab\there\r\nand\x1b").leftJustified(20);
    QTest::newRow("control characters in a name") << bytesOf({foreign, Good}) << 2 << QString();
    QTest::newRow("more records than a file may hold")
        << Good.Encode().repeated(32768) << 32767 << QString();
}

void DataWindowTest::unusualFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    if (!bytes.isNull())
        QVERIFY(put(Path(), bytes));
    DataWindow *window = Open();
    QVERIFY(window);
    const int listed = window->List()->count();
    if (lines >= 0)
        QCOMPARE(listed, lines);
    // One record, one line: nothing in a line could break it.
    for (int row = 0; row < std::min(listed, 1000); ++row) {
        const QString text = window->List()->item(row)->text();
        QVERIFY2(std::none_of(text.cbegin(), text.cend(), [](QChar ch) { return ch < u' '; }),
                 qPrintable(QString("line %1").arg(row + 1)));
    }
    // Whatever cannot be listed ends the list with the one message.
    const int records = int(bytes.size() / HistoryRecord::RecordLength);
    QCOMPARE(m_dialogs.MessageTexts(),
             listed < records ? QStringList{"Error file data! Clear data."} : QStringList());
    QCOMPARE(QFileInfo(Path()).size(), bytes.size());
    // The first record is shown even when it could not be listed.
    QCOMPARE(window->NameDetail()->text().size(), records > 0 ? HistoryRecord::NameLength : 0);
    // So is the record that ended the list, with what cannot be written as
    // a date or time left blank rather than showing another record's.
    QFETCH(QString, blank);
    if (!blank.isEmpty()) {
        QVERIFY(window->ShowRecordDetails(listed + 1));
        QCOMPARE(window->NameDetail()->text().trimmed(), QStringLiteral("X"));
        QCOMPARE(window->findChild<QLabel *>(blank)->text(), QString());
    }
}

void DataWindowTest::fileMenuFollowsTheWindow_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

// The File items and the help follow the window from opening to closing.
void DataWindowTest::fileMenuFollowsTheWindow()
{
    QFETCH(bool, closeBox);
    QVERIFY(put(Path(), Good.Encode()));
    QCOMPARE(EnabledFileItems(), 0);
    DataWindow *window = Open();
    QCOMPARE(EnabledFileItems(), 4);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), window->SubWindow());
    // The normal size, and no other: an attempt to resize is undone.
    const QSize normal = window->SubWindow()->size();
    QCOMPARE(normal.height(), Twips::ToPixels(5260.0));
    window->SubWindow()->resize(normal + QSize(120, 80));
    QCOMPARE(window->SubWindow()->size(), normal);

    // Another child active: the items stay.
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    QVERIFY(m_frame->Child<ResultsWindow>());
    QCOMPARE(EnabledFileItems(), 4);

    QCOMPARE(Open(), window);
    // F1 and the Help button open the window's topic through the frame.
    window->List()->setFocus();
    QTest::keyClick(window->List(), Qt::Key_F1);
    QTest::mouseClick(window->HelpButton(), Qt::LeftButton);
    const HelpRequests::Request topic104{QStringLiteral("Velm2.chm"), 104};
    QTRY_COMPARE(m_help.Log(), (QList<HelpRequests::Request>{topic104, topic104}));
    closeBox ? void(window->SubWindow()->close()) : window->CancelButton()->click();
    QTRY_COMPARE(m_frame->Child<DataWindow>(), nullptr);
    QCOMPARE(EnabledFileItems(), 0);
}

void DataWindowTest::historyCommandsRefreshTheWindow_data()
{
    QTest::addColumn<bool>("oldInUse");
    QTest::addColumn<bool>("backupFolder");
    // The names left listed after Clear: the history in use, as it is.
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("an old history in use") << true << true << QStringList{"Old one", "Good"};
    QTest::newRow("the default in use, cleared") << false << true << QStringList();
    QTest::newRow("the default in use, nowhere to move it")
        << false << false << QStringList{"Good"};
}

// Whichever window is active, the data window lists the history in use:
// another one opened is listed at once, and after Clear the list is what
// is left of the history in use, the default one gone into "res" (and not
// read into being again) or an old one untouched.
void DataWindowTest::historyCommandsRefreshTheWindow()
{
    QFETCH(bool, oldInUse);
    QFETCH(bool, backupFolder);
    QFETCH(QStringList, listed);
    QVERIFY(put(Path(), Good.Encode()));
    if (backupFolder)
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("res")));
    const QString old = m_dir.filePath(QStringLiteral("old.dat"));
    QVERIFY(put(old, bytesOf({record("Old one", Dec7, 0.5, 0, {30, 30, 30, 30}), Good})));
    DataWindow *window = Open();
    MenuItem(m_frame, QStringLiteral("mnuGraph"))->trigger();
    if (oldInUse) {
        m_dialogs.QueueFile(old);
        MenuItem(m_frame, QStringLiteral("mnuOpenOld"))->trigger();
        QCOMPARE(window->List()->count(), 2);
        QCOMPARE(window->List()->currentRow(), 0);
        QCOMPARE(window->NameDetail()->text(), HistoryRecord::FitName("Old one"));
        QCOMPARE(m_dialogs.MessageTexts().last(), QStringLiteral("History open!"));
    }

    m_dialogs.Clear();
    m_dialogs.QueueAnswer(Dialogs::Answer::Yes);
    MenuItem(m_frame, QStringLiteral("mnuClear"))->trigger();
    QStringList names;
    for (int row = 0; row < window->List()->count(); ++row)
        names << window->List()->item(row)->text().left(HistoryRecord::NameLength).trimmed();
    QCOMPARE(names, listed);
    if (listed.isEmpty()) {
        for (QLabel *label :
             {window->NameDetail(), window->DateDetail(), window->TimeDetail(), window->CmfDetail(),
              window->ResultsDetail(), window->ReliabilityDetail()})
            QVERIFY2(label->text().isEmpty(), qPrintable(label->objectName()));
    }
    QCOMPARE(m_dialogs.MessageTexts().size(), 2);
    QCOMPARE(QFileInfo(old).size(), 2 * HistoryRecord::RecordLength);
    QCOMPARE(QFileInfo::exists(Path()), !backupFolder);
}

// A history whose first record cannot be listed leaves nothing to select:
// the listing says what is wrong, and the file is not said to be open.
void DataWindowTest::openOldWithNothingToSelect()
{
    QVERIFY(put(Path(), Good.Encode()));
    const QString old = m_dir.filePath(QStringLiteral("old.dat"));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QVERIFY(put(old, bytesOf({record("Lost", nan, 0.5, 0, {30, 30, 30, 30}), Good})));
    DataWindow *window = Open();
    QCOMPARE(window->List()->count(), 1);
    m_dialogs.QueueFile(old);
    MenuItem(m_frame, QStringLiteral("mnuOpenOld"))->trigger();
    QCOMPARE(window->List()->count(), 0);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error file data! Clear data."});
    QCOMPARE(m_frame->HistoryInUse(), old);
}

QTEST_MAIN(DataWindowTest)
#include "DataWindowTest.moc"

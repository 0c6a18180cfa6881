// The data window inside the real main frame, on real history files: what
// it lists and shows of each record, down to the colours drawn, which
// record it makes the current result, how it survives damaged files, and
// how the File menu follows it.
#include "history/Form3.h"
#include "platform/HelpRequests.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Twips.h"
#include "results/frmGraph.h"
#include "session/SessionState.h"
#include "shell/MDIForm1.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <limits>

namespace {

HistoryRecord record(const QString &name, double date, double time, std::int16_t cmf,
                     std::array<std::int16_t, 4> counts)
{
    HistoryRecord r;
    r.SetName(name);
    r.RecDate = date;
    r.RecTime = time;
    r.RecCMF = cmf;
    r.RecCounts = counts;
    return r;
}

QByteArray bytesOf(const QList<HistoryRecord> &records)
{
    QByteArray bytes;
    for (const HistoryRecord &r : records)
        bytes += r.Encode();
    return bytes;
}

constexpr double Dec7 = 37597.0;                 // 7 December 2002
constexpr double HalfPast2 = 0.6041666666666666; // 14:30:00
const HistoryRecord Good = record(QStringLiteral("Good"), Dec7, HalfPast2, 0, {30, 30, 30, 30});

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

} // namespace

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void emptyHistory_data();
    void emptyHistory();
    void threeRecords();
    void details_data();
    void details();
    void damagedFiles_data();
    void damagedFiles();
    void resultsButton();
    void fileMenuFollowsTheWindow_data();
    void fileMenuFollowsTheWindow();
    void helpButton();
    void historyCommandsRefreshTheWindow();

private:
    Form3 *Open();
    void Write(const QByteArray &bytes);
    QString Path() const { return m_dir.filePath(QStringLiteral("restest.dat")); }
    int EnabledFileItems() const;

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    MDIForm1 *m_frame = nullptr;
};

void Form3Test::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void Form3Test::init()
{
    QFile::remove(Path());
    ResetSession();
    Session().DataPath = Path();
    m_dialogs.Clear();
    Platform::SetDialogs(&m_dialogs);
    m_frame = new MDIForm1;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void Form3Test::cleanup()
{
    delete m_frame;
    Platform::SetDialogs(nullptr);
}

Form3 *Form3Test::Open()
{
    m_frame->MenuItem(QStringLiteral("mnuDat"))->trigger();
    return m_frame->Child<Form3>();
}

void Form3Test::Write(const QByteArray &bytes)
{
    QFile file(Path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

int Form3Test::EnabledFileItems() const
{
    int enabled = 0;
    for (const char *name : {"mnuSave", "mnuExport", "mnuClear", "mnuPr"})
        enabled += m_frame->MenuItem(QLatin1String(name))->isEnabled() ? 1 : 0;
    return enabled;
}

void Form3Test::emptyHistory_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("less than one record") << true << QByteArray(40, 'x');
}

void Form3Test::emptyHistory()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    if (exists)
        Write(bytes);
    Form3 *form = Open();
    QVERIFY(form);
    QCOMPARE(form->List1()->count(), 0);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
    QCOMPARE(form->Label6()->text(), QString());
    QCOMPARE(QFileInfo(Path()).size(), bytes.size());
    QCOMPARE(Session().RecNo, std::int16_t(1));

    // The normal size, and no other: an attempt to resize is undone.
    QMdiSubWindow *window = form->SubWindow();
    const int height = Twips::ToPixels(5260.0);
    QCOMPARE(window->height(), height);
    QCOMPARE(window->width(), Twips::ToPixels(Twips::FromPixels(height) * 1.61));
    const QSize normal = window->size();
    window->resize(normal + QSize(120, 80));
    QCOMPARE(window->size(), normal);
}

void Form3Test::threeRecords()
{
    const QList<HistoryRecord> records{
        record(QStringLiteral("Petrov"), Dec7, HalfPast2, 12, {40, 38, 36, 35}),
        record(QStringLiteral("Сидорова Анна"), Dec7 + 1, 0.25, 4, {25, 25, 24, 24}),
        record(QStringLiteral("Ivanov"), Dec7 + 2, 0.75, -7, {40, 40, 40, 41})};
    Write(bytesOf(records));
    Form3 *form = Open();
    QListWidget *list = form->List1();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(),
             QStringLiteral(
                 "Petrov               * 07.12.2002 * 14:30:00     *  12  * Abnormal * Reliable"));
    QVERIFY(list->item(1)->text().startsWith(QStringLiteral("Сидорова Анна ")));
    QVERIFY(list->item(2)->text().startsWith(QStringLiteral("Ivanov ")));
    // The first line is selected and shown, and is the current result.
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(form->Label6()->text(), records[0].RecName);
    QCOMPARE(Session().CurrentRecord, records[0]);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(form->Label6()->text(), records[1].RecName);
    QCOMPARE(form->Label1()->text(), QStringLiteral("08.12.2002"));
    QCOMPARE(form->Label2()->text(), QStringLiteral("06:00:00"));
    QCOMPARE(form->Label7()->text(), QStringLiteral("4"));
    QCOMPARE(form->Label9()->text(), QStringLiteral("Normal"));
    QCOMPARE(form->Label10()->text(), QStringLiteral("Unreliable"));
    QCOMPARE(Session().RecNo, std::int16_t(2));
    QCOMPARE(Session().CurrentRecord, records[1]);
    QCOMPARE(Session().Counts, (std::array<std::int16_t, 5>{0, 25, 25, 24, 24}));
}

void Form3Test::details_data()
{
    QTest::addColumn<HistoryRecord>("shown");
    QTest::addColumn<QString>("cmf");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("resultsRed");
    QTest::addColumn<QString>("reliability");
    QTest::addColumn<bool>("reliabilityRed");
    QTest::newRow("stored -7") << record(QStringLiteral("Rise"), Dec7, 0.5, -7, {40, 40, 40, 41})
                               << "-1"
                               << "Normal" << false << "Unreliable" << true;
    QTest::newRow("stored 130, not capped here")
        << record(QStringLiteral("Drop"), Dec7, 0.5, 130, {40, 30, 20, 0}) << "130"
        << "Abnormal" << true << "Reliable" << false;
    QTest::newRow("Normal and Reliable after two reds")
        << record(QStringLiteral("Even"), Dec7, 0.5, 10, {30, 30, 30, 27}) << "10"
        << "Normal" << false << "Reliable" << false;
}

void Form3Test::details()
{
    QFETCH(HistoryRecord, shown);
    // Abnormal and Unreliable first, so a colour left behind would show.
    const HistoryRecord red = record(QStringLiteral("Red"), Dec7, 0.5, 50, {20, 15, 12, 10});
    Write(bytesOf({red, shown}));
    Form3 *form = Open();
    QVERIFY(drawnInRed(form->Label9()));
    QVERIFY(drawnInRed(form->Label10()));
    form->List1()->setCurrentRow(1);
    QTEST(form->Label7()->text(), "cmf");
    QTEST(form->Label9()->text(), "results");
    QTEST(form->Label10()->text(), "reliability");
    QTEST(drawnInRed(form->Label9()), "resultsRed");
    QTEST(drawnInRed(form->Label10()), "reliabilityRed");
    // Normal is in the button-text colour here, not the results window's
    // green.
    QFETCH(bool, resultsRed);
    if (!resultsRed)
        QCOMPARE(form->Label9()->palette().color(QPalette::WindowText),
                 form->palette().color(QPalette::ButtonText));
}

void Form3Test::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines"); // -1: whatever can be listed
    // The detail left blank for the record that ends the list.
    QTest::addColumn<QString>("blank");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (quint32 seed : {1U, 2U, 3U}) {
        QByteArray noise(HistoryRecord::RecordLength * 40 + 17, Qt::Uninitialized);
        QRandomGenerator random(seed);
        for (char &byte : noise)
            byte = static_cast<char>(random.bounded(256));
        QTest::addRow("random bytes %u", seed) << noise << -1 << QString();
    }
    QTest::newRow("NaN date")
        << bytesOf({Good, record(QStringLiteral("X"), nan, 0.5, 0, {30, 30, 30, 30}), Good}) << 1
        << "Label1";
    QTest::newRow("infinite time")
        << bytesOf({Good, Good, record(QStringLiteral("X"), Dec7, inf, 0, {30, 30, 30, 30})}) << 2
        << "Label2";
    QTest::newRow("year 10000")
        << bytesOf({record(QStringLiteral("X"), 3e6, 0.5, 0, {30, 30, 30, 30}), Good}) << 0
        << "Label1";
    QTest::newRow("extreme counts and CMF")
        << bytesOf({record(QStringLiteral("X"), Dec7, 0.5, -32768, {-32768, 32767, -1, 32767}),
                    record(QStringLiteral("Y"), Dec7, 0.5, 32767, {32767, -32768, 0, -32768})})
        << 2 << QString();
    QTest::newRow("trailing partial record")
        << bytesOf({Good, Good}) + QByteArray(79, '\xff') << 2 << QString();
    QByteArray tooMany;
    for (int i = 0; i <= 32767; ++i)
        tooMany += Good.Encode();
    QTest::newRow("more records than a file may hold") << tooMany << 32767 << QString();
}

void Form3Test::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    Write(bytes);
    Form3 *form = Open();
    QVERIFY(form);
    const int listed = form->List1()->count();
    if (lines >= 0)
        QCOMPARE(listed, lines);
    // Whatever cannot be listed ends the list with the one message.
    const int records = int(bytes.size() / HistoryRecord::RecordLength);
    const QStringList expected = listed < records
                                     ? QStringList{QStringLiteral("Error file data! Clear data.")}
                                     : QStringList();
    QCOMPARE(m_dialogs.MessageTexts(), expected);
    QCOMPARE(QFileInfo(Path()).size(), bytes.size());

    // The first record is shown even when it could not be listed.
    if (records > 0)
        QCOMPARE(form->Label6()->text().size(), HistoryRecord::NameLength);
    // So is the record that ended the list, with what cannot be written as
    // a date or time left blank rather than showing another record's.
    QFETCH(QString, blank);
    if (!blank.isEmpty()) {
        Session().RecNo = std::int16_t(listed + 1);
        QVERIFY(form->ShowRecordDetails());
        QCOMPARE(form->Label6()->text().trimmed(), QStringLiteral("X"));
        QCOMPARE(form->findChild<QLabel *>(blank)->text(), QString());
    }
}

void Form3Test::resultsButton()
{
    const HistoryRecord first = record(QStringLiteral("First"), Dec7, 0.5, 12, {40, 38, 36, 35});
    const HistoryRecord second =
        record(QStringLiteral("Second"), Dec7 + 1, 0.5, -7, {40, 40, 40, 41});
    Write(bytesOf({first, second}));
    Form3 *form = Open();
    QSignalSpy requests(form, &Form3::ResultsRequested);

    form->List1()->clearSelection();
    form->cmdResults()->click();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{QStringLiteral("No data!")});
    QCOMPARE(requests.count(), 0);
    QCOMPARE(m_frame->Child<frmGraph>(), nullptr);

    m_dialogs.Clear();
    form->List1()->setCurrentRow(1);
    form->cmdResults()->click();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
    QCOMPARE(requests.count(), 1);
    QVERIFY(m_frame->Child<frmGraph>());
    // The record exactly as stored: no correction on this way.
    QCOMPARE(Session().CurrentRecord, second);
    QCOMPARE(Session().Counts[4], std::int16_t(41));

    // The file is replaced by a shorter one while the list still shows the
    // old lines: that line's record no longer exists.
    Write(bytesOf({first}));
    form->cmdResults()->click();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{QStringLiteral("No data!")});
    QCOMPARE(requests.count(), 1);
    QCOMPARE(Session().CurrentRecord, second);
}

void Form3Test::fileMenuFollowsTheWindow_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void Form3Test::fileMenuFollowsTheWindow()
{
    QFETCH(bool, closeBox);
    Write(bytesOf({Good}));
    QCOMPARE(EnabledFileItems(), 0);
    Form3 *form = Open();
    QCOMPARE(EnabledFileItems(), 4);
    QVERIFY(Session().DataFormActive);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), form->SubWindow());

    // Another child active: the items stay, the flag goes.
    m_frame->MenuItem(QStringLiteral("mnuGraph"))->trigger();
    QVERIFY(m_frame->Child<frmGraph>());
    QCOMPARE(EnabledFileItems(), 4);
    QVERIFY(!Session().DataFormActive);

    QCOMPARE(Open(), form);
    QVERIFY(Session().DataFormActive);
    if (closeBox)
        form->SubWindow()->close();
    else
        form->cmdExit()->click();
    QTRY_COMPARE(m_frame->Child<Form3>(), nullptr);
    QCOMPARE(EnabledFileItems(), 0);
    QVERIFY(!Session().DataFormActive);
}

void Form3Test::helpButton()
{
    // The frame's own F1 handling opens the help; the viewer only records.
    HelpRequests help;
    Platform::SetHelp(&help);
    Form3 *form = Open();
    form->List1()->setFocus();
    QTest::keyClick(form->List1(), Qt::Key_F1);
    QTest::mouseClick(form->Command5(), Qt::LeftButton);
    QTRY_COMPARE(help.Log().size(), 2);
    Platform::SetHelp(nullptr);
    const HelpRequests::Request topic104{QStringLiteral("Velm2.chm"), 104};
    QCOMPARE(help.Log(), (QList<HelpRequests::Request>{topic104, topic104}));
}

// With the data window active, opening another history lists it at once
// and clearing empties the list and the details, whatever the clearing
// then finds on disk; the history in use is never what Clear moves.
void Form3Test::historyCommandsRefreshTheWindow()
{
    Write(bytesOf({record(QStringLiteral("Default"), Dec7, HalfPast2, 0, {30, 30, 30, 30})}));
    const QString old = m_dir.filePath(QStringLiteral("old.dat"));
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytesOf({record(QStringLiteral("Old one"), Dec7, 0.5, 0, {30, 30, 30, 30}),
                            record(QStringLiteral("Old two"), Dec7, 0.5, 0, {30, 30, 30, 30})}));
    }
    Form3 *form = Open();
    QVERIFY(Session().DataFormActive);
    m_dialogs.QueueFile(old);
    m_frame->MenuItem(QStringLiteral("mnuOpenOld"))->trigger();
    QCOMPARE(form->List1()->count(), 2);
    QCOMPARE(form->List1()->currentRow(), 0);
    QCOMPARE(form->Label6()->text(), QStringLiteral("Old one").leftJustified(20));
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{QStringLiteral("History open!")});

    m_dialogs.Clear();
    m_dialogs.QueueAnswer(Dialogs::Answer::Yes);
    m_frame->MenuItem(QStringLiteral("mnuClear"))->trigger();
    QCOMPARE(form->List1()->count(), 0);
    for (QLabel *label : {form->Label6(), form->Label1(), form->Label2(), form->Label7(),
                          form->Label9(), form->Label10()})
        QVERIFY2(label->text().isEmpty(), qPrintable(label->objectName()));
    QCOMPARE(m_dialogs.MessageTexts().size(), 2);
    QCOMPARE(QFileInfo(old).size(), 2 * HistoryRecord::RecordLength);
    QCOMPARE(QFileInfo(Path()).size(), HistoryRecord::RecordLength);
}

QTEST_MAIN(Form3Test)
#include "Form3Test.moc"

// What a screen reader finds in the program: every button, list and
// picture of the main, test, data, trend, results and About windows has a
// name it can say, the buttons that show only a picture are named after the
// commands they run, and the results graph tells what it shows.
#include "FakeClock.h"
#include "HistoryFiles.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/ui/PictureBox.h"
#include "results/ResultsWindow.h"
#include "session/TestWindow.h"
#include "shell/AboutWindow.h"
#include "shell/MainFrame.h"
#include "trend/TrendWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace HistoryFiles;

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyControlHasAName();
    void pictureButtonsNamedAfterTheirCommands();
    void graphDescribesTheResult();

private:
    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    FakeClock m_clock;
    MainFrame *m_frame = nullptr;
};

namespace {

QString nameOf(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// Buttons, lists, picture boxes and labels that show a picture: what needs
// a name to be told apart by someone who cannot see it.
bool needsAName(const QWidget *widget)
{
    if (qobject_cast<const QAbstractButton *>(widget) != nullptr ||
        qobject_cast<const QAbstractItemView *>(widget) != nullptr ||
        qobject_cast<const PictureBox *>(widget) != nullptr)
        return true;
    const auto *label = qobject_cast<const QLabel *>(widget);
    return label != nullptr && !label->pixmap().isNull();
}

} // namespace

void AccessibilityTest::init()
{
    m_platform.Clear();
    Platform::SetClock(&m_clock);
    m_frame = new MainFrame(m_dir.filePath(QStringLiteral("restest.dat")));
    m_frame->Start();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
    // After the start-up, which names the history beside the program.
    QVERIFY(put(m_frame->HistoryInUse(), bytesOf({record("Zed", Dec7, 0.5, 12, {40, 38, 36, 35}),
                                                  record("Ann", Dec7, 0.6, 0, {31, 33, 32, 31})})));
}

void AccessibilityTest::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
}

void AccessibilityTest::everyControlHasAName()
{
    MenuItem(m_frame, QStringLiteral("mnuDat"))->trigger();
    DataWindow *data = m_frame->Child<DataWindow>();
    QVERIFY(data != nullptr);
    MenuItem(m_frame, QStringLiteral("mnuTrend"))->trigger();
    QVERIFY(m_frame->Child<TrendWindow>() != nullptr);
    data->ResultsButton()->click();
    QVERIFY(m_frame->Child<ResultsWindow>() != nullptr);
    MenuItem(m_frame, QStringLiteral("mnuAbout"))->trigger();
    auto *about = m_frame->findChild<AboutWindow *>();
    QVERIFY(about != nullptr);

    QStringList unnamed;
    int checked = 0;
    for (QWidget *top : {static_cast<QWidget *>(m_frame), static_cast<QWidget *>(about)}) {
        for (QWidget *widget : top->findChildren<QWidget *>()) {
            // Qt's own helpers (the menu bar's overflow button) are Qt's.
            if (!needsAName(widget) || widget->objectName().startsWith(QLatin1String("qt_")))
                continue;
            ++checked;
            if (nameOf(widget).trimmed().isEmpty())
                unnamed << widget->metaObject()->className() + QStringLiteral(" ") +
                               widget->objectName();
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QVERIFY2(checked >= 15, qPrintable(QString::number(checked)));
    QCOMPARE(nameOf(data->List()), QStringLiteral("History"));
    QCOMPARE(nameOf(m_frame->Child<TestWindow>()->Diagram()), QStringLiteral("Rate diagram"));
    QCOMPARE(nameOf(m_frame->Child<ResultsWindow>()->Graph()), QStringLiteral("Dynamics graph"));
}

void AccessibilityTest::pictureButtonsNamedAfterTheirCommands()
{
    MenuItem(m_frame, QStringLiteral("mnuDat"))->trigger();
    DataWindow *data = m_frame->Child<DataWindow>();
    QStringList names;
    QStringList tips;
    for (const char *name : {"Command4", "Command3", "Command6", "Command5"}) {
        auto *button = data->findChild<QToolButton *>(QLatin1String(name));
        QVERIFY(button != nullptr);
        names << nameOf(button);
        tips << button->toolTip();
    }
    QCOMPARE(names, (QStringList{"Save data as", "Print data", "Clear default file data", "Help"}));
    // The tooltips stay as they were.
    QCOMPARE(tips, (QStringList{"Save data as...", "Print data", "Clear data", "Help"}));
}

void AccessibilityTest::graphDescribesTheResult()
{
    MenuItem(m_frame, QStringLiteral("mnuDat"))->trigger();
    DataWindow *data = m_frame->Child<DataWindow>();
    data->List()->setCurrentRow(0);
    data->ResultsButton()->click();
    QWidget *graph = m_frame->Child<ResultsWindow>()->Graph();
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(graph);
    QCOMPARE(face->text(QAccessible::Description), QStringLiteral("Counts 40, 38, 36, 35; CMF 12"));
    // Another record shown in the same window, chosen in the data window as
    // a person would: the description follows.
    m_frame->MdiArea()->setActiveSubWindow(data->SubWindow());
    data->List()->setCurrentRow(1);
    data->ResultsButton()->click();
    QCOMPARE(face->text(QAccessible::Description), QStringLiteral("Counts 31, 33, 32, 31; CMF 0"));
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"

// The main frame: its menus exactly as users know them, its growth before
// a working window is shown, which child is the active one, and how the
// program starts and ends.
#include "shell/MDIForm1.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Twips.h"
#include "session/Form1.h"
#include "session/SessionState.h"
#include "session/Startup.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

QStringList unloads;

// A working window that notes its activations and its unload.
class NotingWindow : public ChildWindow
{
    Q_OBJECT

public:
    int activations = 0;
    int deactivations = 0;
    void Form_Activate() override { ++activations; }
    void Form_Deactivate() override { ++deactivations; }
    void Form_Unload() override { unloads << objectName(); }
};

class OtherNotingWindow : public NotingWindow
{
    Q_OBJECT
};

} // namespace

class MDIForm1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menus_data();
    void menus();
    void menuStates_data();
    void menuStates();
    void sizeAfterLoad();
    void enlarge_data();
    void enlarge();
    void testItemFocusesOrLoads();
    void activationFollowsTheChildren();
    void exitEndsWithoutUnloading();
    void closingUnloadsChildrenFirst();
    void startup_data();
    void startup();
    void startupShowsTestWindow();

private:
    MDIForm1 *m_frame = nullptr;
    ScriptedDialogs m_dialogs;
};

void MDIForm1Test::init()
{
    ResetSession();
    unloads.clear();
    Platform::SetDialogs(&m_dialogs);
    m_frame = new MDIForm1;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void MDIForm1Test::cleanup()
{
    delete m_frame;
    Platform::SetDialogs(nullptr);
}

void MDIForm1Test::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("File") << "mnuFile"
                          << "&File"
                          << QStringList{"mnuOpenOld", "mnuSave", "mnuExport", "mnuClear",
                                         "mnuProbel",  "mnuPr",   "mnuPr3",    "mnuExit"}
                          << QStringList{"&Open old data(for viewing only)",
                                         "&Save data as...",
                                         "&Export text file",
                                         "&Clear default file data",
                                         "",
                                         "&Print data",
                                         "",
                                         "&Exit"};
    QTest::newRow("View") << "mnuView"
                          << "&View" << QStringList{"mnuTest", "mnuGraph", "mnuDat"}
                          << QStringList{"&Test", "&Results", "&Data"};
    QTest::newRow("Help") << "mnuHelp"
                          << "Help" << QStringList{"mnuContents", "mnul", "mnuAbout"}
                          << QStringList{"Contents", "", "About Velmora"};
}

void MDIForm1Test::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QAction *top = m_frame->MenuItem(menu);
    QVERIFY(top);
    QTEST(top->text(), "caption");
    QVERIFY(top->menu());
    QStringList names, texts;
    for (QAction *item : top->menu()->actions()) {
        names << item->objectName();
        texts << (item->isSeparator() ? QString() : item->text());
        QVERIFY(item->shortcut().isEmpty());
    }
    QCOMPARE(names, items);
    QCOMPARE(texts, captions);
    QStringList tops;
    for (QAction *action : m_frame->menuBar()->actions())
        tops << action->objectName();
    QCOMPARE(tops, (QStringList{"mnuFile", "mnuView", "mnuHelp"}));
}

void MDIForm1Test::menuStates_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("enabled");
    for (const char *name : {"mnuSave", "mnuExport", "mnuClear", "mnuPr"})
        QTest::newRow(name) << name << false;
    for (const char *name :
         {"mnuOpenOld", "mnuExit", "mnuTest", "mnuGraph", "mnuDat", "mnuContents", "mnuAbout"})
        QTest::newRow(name) << name << true;
}

void MDIForm1Test::menuStates()
{
    QFETCH(QString, item);
    QTEST(m_frame->MenuItem(item)->isEnabled(), "enabled");
}

void MDIForm1Test::sizeAfterLoad()
{
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(m_frame->frameGeometry().size(), Twips::ToPixels(9465, 6165));
}

void MDIForm1Test::enlarge_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("grows");
    QTest::newRow("normal") << int(Qt::WindowNoState) << true;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << false;
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << false;
}

void MDIForm1Test::enlarge()
{
    QFETCH(int, state);
    QFETCH(bool, grows);
    m_frame->setWindowState(Qt::WindowState(state));
    const QSize start = m_frame->frameGeometry().size();
    m_frame->EnlargeMainWindow();
    m_frame->EnlargeMainWindow();
    const QSize twice = m_frame->frameGeometry().size();
    m_frame->EnlargeMainWindow();
    QCOMPARE(m_frame->frameGeometry().size(), twice);
    if (!grows) {
        QCOMPARE(twice, start);
        return;
    }
    // 1.1 twice over, each step rounded to whole pixels.
    QVERIFY(qAbs(twice.width() - start.width() * 1.21) <= 2);
    QVERIFY(qAbs(twice.height() - start.height() * 1.21) <= 2);
    QVERIFY(Twips::FromPixels(twice.height()) >= 7000);
}

void MDIForm1Test::testItemFocusesOrLoads()
{
    Session().TickInterval = 60;
    auto *first = m_frame->ShowChild<Form1>();
    QVERIFY(Session().TestFormActive);
    first->Timer2_Timer();
    // During a run "Test" leaves the keys with the diagram.
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    first->Command1()->click();
    QVERIFY(first->Picture1()->hasFocus());
    m_frame->MenuItem(QStringLiteral("mnuTest"))->trigger();
    QCOMPARE(m_frame->Child<Form1>(), first);
    QVERIFY(first->Picture1()->hasFocus());
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);

    // Closed, it is loaded anew: the colour cycle starts from the beginning.
    first->SubWindow()->close();
    QTRY_COMPARE(m_frame->Child<Form1>(), nullptr);
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    m_frame->MenuItem(QStringLiteral("mnuTest"))->trigger();
    auto *second = m_frame->Child<Form1>();
    QVERIFY(second);
    QVERIFY(Session().TestFormActive);
    second->Timer2_Timer();
    QCOMPARE(second->Picture1()->BackColor(), QColor(5, 3, 245));
}

void MDIForm1Test::activationFollowsTheChildren()
{
    auto *a = m_frame->ShowChild<NotingWindow>();
    auto *b = m_frame->ShowChild<OtherNotingWindow>();
    QCOMPARE(a->activations, 1);
    QCOMPARE(a->deactivations, 1);
    QCOMPARE(b->activations, 1);
    // Showing the active child again is not a new activation.
    m_frame->ShowChild<OtherNotingWindow>();
    QCOMPARE(b->activations, 1);
    m_frame->MdiArea()->setActiveSubWindow(a->SubWindow());
    QCOMPARE(a->activations, 2);
    QCOMPARE(b->deactivations, 1);
    // The child closing last activates the one left, without deactivating
    // the unloaded one.
    a->SubWindow()->close();
    QCOMPARE(b->activations, 2);
    QCOMPARE(a->deactivations, 1);
}

void MDIForm1Test::exitEndsWithoutUnloading()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("child"));
    int exits = 0;
    m_frame->SetExitHandler([&exits] { ++exits; });
    m_frame->MenuItem(QStringLiteral("mnuExit"))->trigger();
    QCOMPARE(exits, 1);
    QVERIFY(unloads.isEmpty());
}

void MDIForm1Test::closingUnloadsChildrenFirst()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("first"));
    m_frame->ShowChild<OtherNotingWindow>()->setObjectName(QStringLiteral("second"));
    QVERIFY(m_frame->close());
    QCOMPARE(unloads.size(), 2);
    QVERIFY(unloads.contains(QStringLiteral("first")));
    QVERIFY(unloads.contains(QStringLiteral("second")));
    QVERIFY(!m_frame->isVisible());
}

void MDIForm1Test::startup_data()
{
    QTest::addColumn<int>("platformId");
    QTest::addColumn<int>("tick");
    QTest::newRow("Windows 95 family") << 1 << 18;
    QTest::newRow("NT family") << 2 << 60;
    QTest::newRow("unknown") << 0 << 0;
    QTest::newRow("other") << 3 << 0;
}

void MDIForm1Test::startup()
{
    QFETCH(int, platformId);
    QTEST(int(Startup::TickIntervalFor(platformId)), "tick");
    QCOMPARE(Startup::DataPathIn(QStringLiteral("/opt/velmora")),
             QStringLiteral("/opt/velmora/restest.dat"));
    QCOMPARE(Startup::DataPathIn(QStringLiteral("/")), QStringLiteral("//restest.dat"));
}

void MDIForm1Test::startupShowsTestWindow()
{
    Session().TestFormActive = true;
    Session().DataFormActive = true;
    m_frame->Start();
    QCOMPARE(Session().TickInterval, std::int16_t(60));
    QCOMPARE(Session().DataPath,
             QCoreApplication::applicationDirPath() + QStringLiteral("/restest.dat"));
    QVERIFY(!Session().DataFormActive);
    auto *test = m_frame->Child<Form1>();
    QVERIFY(test);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), test->SubWindow());
    QVERIFY(Session().TestFormActive);
    QCOMPARE(test->Timer3()->interval(), 60);
    // Shrunk below the test window, the workspace scrolls to reach it.
    m_frame->resize(m_frame->width() / 2, m_frame->height() / 2);
    QTRY_VERIFY(m_frame->MdiArea()->horizontalScrollBar()->isVisible());
    QVERIFY(m_frame->MdiArea()->verticalScrollBar()->isVisible());
}

QTEST_MAIN(MDIForm1Test)
#include "MDIForm1Test.moc"

// The main frame: its menus exactly as users know them, its growth before
// a working window is shown, which child is the active one, how the
// program starts and ends, the About window, and which help F1 and
// Help > Contents open.
#include "shell/MDIForm1.h"
#include "history/Form3.h"
#include "platform/HelpRequests.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Twips.h"
#include "session/Form1.h"
#include "session/SessionState.h"
#include "session/Startup.h"
#include "shell/frmAbout.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
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
    void aboutIsOneWindowWithOkFocused();
    void closingFrameClosesAbout();
    void helpKey_data();
    void helpKey();
    void historyCommands_data();
    void historyCommands();

private:
    MDIForm1 *m_frame = nullptr;
    ScriptedDialogs m_dialogs;
    HelpRequests m_help;
};

void MDIForm1Test::init()
{
    ResetSession();
    unloads.clear();
    Platform::SetDialogs(&m_dialogs);
    m_help.Clear();
    Platform::SetHelp(&m_help);
    m_frame = new MDIForm1;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void MDIForm1Test::cleanup()
{
    delete m_frame;
    Platform::SetDialogs(nullptr);
    Platform::SetHelp(nullptr);
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
                          << "&View" << QStringList{"mnuTest", "mnuGraph", "mnuDat", "mnuTrend"}
                          << QStringList{"&Test", "&Results", "&Data", "Tr&end"};
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
    for (const char *name : {"mnuSave", "mnuExport", "mnuClear", "mnuPr", "mnuTrend"})
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

void MDIForm1Test::aboutIsOneWindowWithOkFocused()
{
    QAction *about = m_frame->MenuItem(QStringLiteral("mnuAbout"));
    about->trigger();
    frmAbout *window = m_frame->About();
    QVERIFY(window != nullptr);
    // A tool window counts as active along with its frame, so the test
    // waits for the application's own word.
    QTRY_COMPARE(QApplication::activeWindow(), window);
    QVERIFY(window->isWindow());
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    QCOMPARE(window->windowTitle(), QStringLiteral("About"));
    QCOMPARE(window->size(), Twips::ToPixels(5160, 3465));
    QCOMPARE(window->Label3()->text(), QStringLiteral("Velmora Version 2.0"));
    QCOMPARE(window->Image1()->pixmap().size(), QSize(93, 36));
    QVERIFY(window->Command3()->hasFocus());

    // Back in the frame and then About again: still the one window, in
    // front, with OK holding the focus once more.
    m_frame->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_frame);
    QVERIFY(!window->Command3()->hasFocus());
    about->trigger();
    QTRY_COMPARE(QApplication::activeWindow(), window);
    QCOMPARE(m_frame->About(), window);
    QCOMPARE(m_frame->findChildren<frmAbout *>().size(), 1);
    QVERIFY(window->Command3()->hasFocus());

    // OK closes it; the next opening builds it anew.
    window->Command3()->click();
    QTRY_VERIFY(m_frame->About() == nullptr);
    about->trigger();
    QVERIFY(m_frame->About() != nullptr);
    QVERIFY(m_frame->About()->isVisible());
}

void MDIForm1Test::closingFrameClosesAbout()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("child"));
    m_frame->MenuItem(QStringLiteral("mnuAbout"))->trigger();
    QPointer<frmAbout> about = m_frame->About();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QVERIFY(m_frame->close());
    QCOMPARE(unloads, QStringList{QStringLiteral("child")});
    QTRY_VERIFY(about == nullptr);
    // Nothing is left on the screen to keep the program running.
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void MDIForm1Test::helpKey_data()
{
    // How F1 reaches the program, the state of the test window when it
    // does (releases counted so far, -1 for no run), and what follows.
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<int>("releases");
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("counted");
    QTest::newRow("Contents, focus on Start") << true << -1 << 0 << 0;
    QTest::newRow("F1, focus on Start") << false << -1 << 0 << 0;
    QTest::newRow("Contents, focus in the diagram") << true << 0 << 103 << 0;
    QTest::newRow("F1 in an armed run") << false << 0 << -1 << 1;
    QTest::newRow("F1 in a counting run") << false << 3 << -1 << 1;
}

void MDIForm1Test::helpKey()
{
    QFETCH(bool, fromMenu);
    QFETCH(int, releases);
    QFETCH(int, topic);
    QFETCH(int, counted);
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    auto *test = m_frame->ShowChild<Form1>();
    QVERIFY(test->Command1()->hasFocus());
    if (releases >= 0) {
        m_dialogs.QueueInput(QStringLiteral("Ann"));
        test->Command1()->click();
        for (int i = 0; i < releases; ++i)
            QTest::keyClick(test->Picture1(), Qt::Key_A);
        QVERIFY(test->Picture1()->hasFocus());
    }
    const int before = Session().KeyCount;
    if (fromMenu)
        m_frame->MenuItem(QStringLiteral("mnuContents"))->trigger();
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCoreApplication::processEvents();
    const QList<HelpRequests::Request> opened{{QStringLiteral("Velm2.chm"), topic}};
    QCOMPARE(m_help.Log(), topic >= 0 ? opened : QList<HelpRequests::Request>());
    QCOMPARE(Session().KeyCount - before, counted);
}

void MDIForm1Test::historyCommands_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("made");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("Save data as...") << "mnuSave"
                                     << "copy"
                                     << "copy.DAT" << QStringList{"Data saved!"};
    QTest::newRow("save button") << "SaveRequested"
                                 << "copy"
                                 << "copy.DAT" << QStringList{"Data saved!"};
    QTest::newRow("Export text file") << "mnuExport"
                                      << "table"
                                      << "table.TXT" << QStringList{"File saved!"};
    QTest::newRow("Open old data") << "mnuOpenOld"
                                   << "old.dat"
                                   << "old.dat" << QStringList{"History open!"};
    QTest::newRow("Clear default file data, No")
        << "mnuClear"
        << ""
        << "" << QStringList{"Do you really want to delete the history?"};
    QTest::newRow("clear button, No")
        << "ClearRequested"
        << ""
        << "" << QStringList{"Do you really want to delete the history?"};
    QTest::newRow("Print data, cancelled") << "mnuPr"
                                           << ""
                                           << "" << QStringList();
    QTest::newRow("print button, cancelled") << "PrintRequested"
                                             << ""
                                             << "" << QStringList();
}

// The File menu's history commands and the data window's picture buttons
// reach the same commands through the frame's one file dialog.
void MDIForm1Test::historyCommands()
{
    QFETCH(QString, trigger);
    QFETCH(QString, answer);
    QFETCH(QString, made);
    m_dialogs.Clear();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    HistoryRecord record;
    record.SetName(QStringLiteral("Ann"));
    record.RecDate = 37597.0;
    record.RecCounts = {40, 38, 36, 35};
    for (const char *name : {"restest.dat", "old.dat"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(record.Encode());
    }
    Session().DataPath = dir.filePath("restest.dat");
    auto *data = m_frame->ShowChild<Form3>();
    if (!answer.isEmpty())
        m_dialogs.QueueFile(dir.filePath(answer));

    if (QAction *item = m_frame->MenuItem(trigger))
        item->trigger();
    else
        QVERIFY(QMetaObject::invokeMethod(data, trigger.toLatin1().constData()));

    QCOMPARE(m_dialogs.Log().size(), 1 + (answer.isEmpty() ? 0 : 1));
    QTEST(m_dialogs.MessageTexts(), "messages");
    if (!made.isEmpty())
        QVERIFY(QFile::exists(dir.filePath(made)));
    QCOMPARE(Session().DataPath, dir.filePath(trigger == "mnuOpenOld" ? "old.dat" : "restest.dat"));
    QCOMPARE(QFileInfo(dir.filePath("restest.dat")).size(), 80);
}

QTEST_MAIN(MDIForm1Test)
#include "MDIForm1Test.moc"

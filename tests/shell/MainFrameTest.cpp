// The main frame: its menus exactly as users know them, its growth before
// a working window is shown, which child is the active one, how the
// program starts and ends and where it keeps its history, the About
// window, and which help F1 and Help > Contents open.
#include "shell/MainFrame.h"
#include "FakeClock.h"
#include "HistoryFiles.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "results/ResultsWindow.h"
#include "session/Startup.h"
#include "session/TestWindow.h"
#include "shell/AboutWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList unloads;

// A working window that notes its activations and its unload.
class NotingWindow : public ChildWindow
{
    Q_OBJECT

public:
    int activations = 0;
    int deactivations = 0;
    void OnActivate() override { ++activations; }
    void OnDeactivate() override { ++deactivations; }
    void OnUnload() override { unloads << objectName(); }
};

class OtherNotingWindow : public NotingWindow
{
    Q_OBJECT
};

// Working windows of four kinds, none of which is another.
class FirstWindow : public ChildWindow
{
    Q_OBJECT
};

class SecondWindow : public ChildWindow
{
    Q_OBJECT
};

class ThirdWindow : public ChildWindow
{
    Q_OBJECT
};

class FourthWindow : public ChildWindow
{
    Q_OBJECT
};

} // namespace

class MainFrameTest : public QObject
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
    void historyLocation_data();
    void historyLocation();
    void startupShowsTestWindow();
    void aboutIsOneWindowWithOkFocused();
    void aboutQtIsADialog();
    void closingFrameClosesAbout();
    void helpKey_data();
    void helpKey();
    void historyCommands_data();
    void historyCommands();
    void runKeepsItsRecord_data();
    void runKeepsItsRecord();
    void testItemKeepsTheDiagramsKeys();
    void closingActivatesTheWindowBeneath();
    void reopenedWindowTakesAFreePlace();
    void strayKeysPressNoButton_data();
    void strayKeysPressNoButton();
    void storedTestAppearsInOpenDataWindow();

private:
    // A whole test through the test window, its interval ends taken by
    // hand: the releases of each interval, or Esc after the second.
    TestWindow *RunTest(const QString &name, const QList<int> &releases, bool esc = false);

    // A program folder of its own for each test, with the frame's default
    // history in it.
    std::unique_ptr<QTemporaryDir> m_dir;
    MainFrame *m_frame = nullptr;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    HelpRequests &m_help = m_platform.help;
    FakeClock m_clock;
};

void MainFrameTest::init()
{
    unloads.clear();
    m_help.Clear();
    m_dialogs.Clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_frame = new MainFrame(m_dir->filePath(QStringLiteral("restest.dat")));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
}

void MainFrameTest::cleanup()
{
    delete m_frame;
    Platform::SetClock(nullptr);
}

void MainFrameTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("File") << "mnuFile"
                          << "&File"
                          << QStringList{"mnuOpenOld", "mnuSave",   "mnuExport", "mnuExportPresses",
                                         "mnuClear",   "mnuProbel", "mnuPr",     "mnuPr3",
                                         "mnuExit"}
                          << QStringList{"&Open old data(for viewing only)",
                                         "&Save data as...",
                                         "&Export text file",
                                         "Export &key presses...",
                                         "&Clear default file data",
                                         "",
                                         "&Print data",
                                         "",
                                         "&Exit"};
    QTest::newRow("View") << "mnuView"
                          << "&View" << QStringList{"mnuTest", "mnuGraph", "mnuDat", "mnuTrend"}
                          << QStringList{"&Test", "&Results", "&Data", "Tr&end"};
    QTest::newRow("Help") << "mnuHelp"
                          << "Help" << QStringList{"mnuContents", "mnul", "mnuAbout", "mnuAboutQt"}
                          << QStringList{"Contents", "", "About Velmora", "About &Qt"};
}

void MainFrameTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QAction *top = MenuItem(m_frame, menu);
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

void MainFrameTest::menuStates_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("enabled");
    for (const char *name :
         {"mnuSave", "mnuExport", "mnuExportPresses", "mnuClear", "mnuPr", "mnuTrend"})
        QTest::newRow(name) << name << false;
    for (const char *name :
         {"mnuOpenOld", "mnuExit", "mnuTest", "mnuGraph", "mnuDat", "mnuContents", "mnuAbout"})
        QTest::newRow(name) << name << true;
}

void MainFrameTest::menuStates()
{
    QFETCH(QString, item);
    QTEST(MenuItem(m_frame, item)->isEnabled(), "enabled");
}

void MainFrameTest::sizeAfterLoad()
{
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(m_frame->frameGeometry().size(), Twips::ToPixels(9465, 6165));
}

void MainFrameTest::enlarge_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("grows");
    QTest::newRow("normal") << int(Qt::WindowNoState) << true;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << false;
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << false;
}

void MainFrameTest::enlarge()
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

void MainFrameTest::testItemFocusesOrLoads()
{
    auto *first = m_frame->ShowChild<TestWindow>();
    first->OnIdleColourTick();
    // During a run "Test" leaves the keys with the diagram.
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    first->StartButton()->click();
    QVERIFY(first->Diagram()->hasFocus());
    MenuItem(m_frame, QStringLiteral("mnuTest"))->trigger();
    QCOMPARE(m_frame->Child<TestWindow>(), first);
    QVERIFY(first->Diagram()->hasFocus());
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);

    // Closed, it is loaded anew: the colour cycle starts from the beginning.
    first->SubWindow()->close();
    QTRY_COMPARE(m_frame->Child<TestWindow>(), nullptr);
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    MenuItem(m_frame, QStringLiteral("mnuTest"))->trigger();
    auto *second = m_frame->Child<TestWindow>();
    QVERIFY(second);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), second->SubWindow());
    second->OnIdleColourTick();
    QCOMPARE(second->Diagram()->BackColor(), QColor(5, 3, 245));
}

void MainFrameTest::activationFollowsTheChildren()
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

void MainFrameTest::exitEndsWithoutUnloading()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("child"));
    int exits = 0;
    m_frame->SetExitHandler([&exits] { ++exits; });
    MenuItem(m_frame, QStringLiteral("mnuExit"))->trigger();
    QCOMPARE(exits, 1);
    QVERIFY(unloads.isEmpty());
}

void MainFrameTest::closingUnloadsChildrenFirst()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("first"));
    m_frame->ShowChild<OtherNotingWindow>()->setObjectName(QStringLiteral("second"));
    QVERIFY(m_frame->close());
    QCOMPARE(unloads.size(), 2);
    QVERIFY(unloads.contains(QStringLiteral("first")));
    QVERIFY(unloads.contains(QStringLiteral("second")));
    QVERIFY(!m_frame->isVisible());
}

void MainFrameTest::startup_data()
{
    QTest::addColumn<int>("platformId");
    QTest::addColumn<int>("tick");
    QTest::newRow("Windows 95 family") << 1 << 18;
    QTest::newRow("NT family") << 2 << 60;
    QTest::newRow("unknown") << 0 << 0;
    QTest::newRow("other") << 3 << 0;
}

void MainFrameTest::startup()
{
    QFETCH(int, platformId);
    QTEST(int(Startup::TickIntervalFor(platformId)), "tick");
    QCOMPARE(Startup::HistoryPathIn(QStringLiteral("/opt/velmora")),
             QStringLiteral("/opt/velmora/restest.dat"));
    QCOMPARE(Startup::HistoryPathIn(QStringLiteral("/")), QStringLiteral("//restest.dat"));
}

void MainFrameTest::historyLocation_data()
{
    QTest::addColumn<QString>("beside");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("xdgDataHome");
    QTest::addColumn<QString>("folder");
    QTest::newRow("res folder beside the program") << "res/" << true << true << "program";
    QTest::newRow("history beside the program") << "restest.dat" << true << true << "program";
    QTest::newRow("neither") << "" << true << true << "xdg/velmora";
    QTest::newRow("neither, XDG_DATA_HOME unset")
        << "" << true << false << "home/.local/share/velmora";
    QTest::newRow("a file named res") << "res" << true << true << "xdg/velmora";
    QTest::newRow("only presses") << "restest.presses.csv" << true << true << "xdg/velmora";
    QTest::newRow("res, folder not writable") << "res/" << false << true << "xdg/velmora";
    QTest::newRow("history, folder not writable, XDG_DATA_HOME unset")
        << "restest.dat" << false << false << "home/.local/share/velmora";
}

void MainFrameTest::historyLocation()
{
    QFETCH(QString, beside);
    QFETCH(bool, writable);
    QFETCH(bool, xdgDataHome);
    QFETCH(QString, folder);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QDir base(scratch.path());
    QVERIFY(base.mkpath(QStringLiteral("program")) && base.mkpath(QStringLiteral("home")));
    for (const QString &name : beside.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QVERIFY(name.endsWith(QLatin1Char('/'))
                    ? base.mkpath(QStringLiteral("program/") + name)
                    : HistoryFiles::put(base.filePath(QStringLiteral("program/") + name), "x"));
    }
    // Readable by the account the check runs as, written by none where the
    // row says so.
    QVERIFY(QFile::setPermissions(scratch.path(), QFile::permissions(scratch.path()) |
                                                      QFile::ReadOther | QFile::ExeOther));
    if (!writable)
        QCOMPARE(::chmod(qPrintable(base.filePath(QStringLiteral("program"))), 0555), 0);
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(base.filePath(QStringLiteral("home"))));
    if (xdgDataHome)
        qputenv("XDG_DATA_HOME", QFile::encodeName(base.filePath(QStringLiteral("xdg"))));
    else
        qunsetenv("XDG_DATA_HOME");
    const QString expected = base.filePath(folder);
    const auto decided = [&base] {
        return Startup::HistoryFolderFor(base.filePath(QStringLiteral("program")));
    };
    QString found;
    if (!writable && ::geteuid() == 0) {
        // Folder rights bind root not at all: the check runs as nobody.
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && decided() == expected ? 0 : 1);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        found = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? expected : QStringLiteral("other");
    } else {
        found = decided();
    }
    qputenv("HOME", oldHome);
    if (oldXdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldXdg);
    ::chmod(qPrintable(base.filePath(QStringLiteral("program"))), 0700);
    QCOMPARE(found, expected);
}

void MainFrameTest::startupShowsTestWindow()
{
    // The test's folder is no portable install: the history is made a
    // folder of its own in the user's data folder, for the user alone,
    // along with the folders above it that were missing.
    QTemporaryDir data;
    QVERIFY(data.isValid());
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.filePath(QStringLiteral("share"))));
    const QString history = MainFrame().HistoryInUse();
    qputenv("XDG_DATA_HOME", oldXdg);
    QCOMPARE(history, data.filePath(QStringLiteral("share/velmora/restest.dat")));
    for (const char *folder : {"share", "share/velmora", "share/velmora/res"}) {
        struct stat made
        {
        };
        QCOMPARE(::stat(qPrintable(data.filePath(QLatin1String(folder))), &made), 0);
        QVERIFY(S_ISDIR(made.st_mode));
        QCOMPARE(made.st_mode & 07777, mode_t(0700));
    }
    QVERIFY(!QFileInfo::exists(history));
    // The frame shows the icon at every size a desktop asks for.
    QCOMPARE(m_frame->windowIcon().availableSizes(),
             (QList<QSize>{{32, 32}, {16, 16}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    m_frame->Start();
    auto *test = m_frame->Child<TestWindow>();
    QVERIFY(test);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), test->SubWindow());
    QCOMPARE(test->Run().DriftTimer()->interval(), 60);
    // Shrunk below the test window, the workspace scrolls to reach it.
    m_frame->resize(m_frame->width() / 2, m_frame->height() / 2);
    QTRY_VERIFY(m_frame->MdiArea()->horizontalScrollBar()->isVisible());
    QVERIFY(m_frame->MdiArea()->verticalScrollBar()->isVisible());
}

void MainFrameTest::aboutQtIsADialog()
{
    MenuItem(m_frame, QStringLiteral("mnuAboutQt"))->trigger();
    QCOMPARE(m_dialogs.Log(),
             QList<ScriptedDialogs::Shown>{Dialogs::AboutQtRequest{QStringLiteral("About Qt")}});
}

void MainFrameTest::aboutIsOneWindowWithOkFocused()
{
    QAction *about = MenuItem(m_frame, QStringLiteral("mnuAbout"));
    about->trigger();
    AboutWindow *window = m_frame->findChild<AboutWindow *>();
    QVERIFY(window != nullptr);
    // A tool window counts as active along with its frame, so the test
    // waits for the application's own word.
    QTRY_COMPARE(QApplication::activeWindow(), window);
    QVERIFY(window->isWindow());
    QVERIFY(m_frame->MdiArea()->subWindowList().isEmpty());
    QCOMPARE(window->windowTitle(), QStringLiteral("About"));
    QCOMPARE(window->size(), Twips::ToPixels(5160, 3465));
    QCOMPARE(window->Version()->text(), QStringLiteral("Velmora Version 2.0"));
    QCOMPARE(window->Logo()->pixmap().size(), QSize(93, 36));
    QVERIFY(window->OkButton()->hasFocus());

    // Back in the frame and then About again: still the one window, in
    // front, with OK holding the focus once more.
    m_frame->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_frame);
    QVERIFY(!window->OkButton()->hasFocus());
    about->trigger();
    QTRY_COMPARE(QApplication::activeWindow(), window);
    QCOMPARE(m_frame->findChild<AboutWindow *>(), window);
    QCOMPARE(m_frame->findChildren<AboutWindow *>().size(), 1);
    QVERIFY(window->OkButton()->hasFocus());

    // OK closes it; the next opening builds it anew.
    window->OkButton()->click();
    QTRY_VERIFY(m_frame->findChild<AboutWindow *>() == nullptr);
    about->trigger();
    QVERIFY(m_frame->findChild<AboutWindow *>() != nullptr);
    QVERIFY(m_frame->findChild<AboutWindow *>()->isVisible());
}

void MainFrameTest::closingFrameClosesAbout()
{
    m_frame->ShowChild<NotingWindow>()->setObjectName(QStringLiteral("child"));
    MenuItem(m_frame, QStringLiteral("mnuAbout"))->trigger();
    QPointer<AboutWindow> about = m_frame->findChild<AboutWindow *>();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QVERIFY(m_frame->close());
    QCOMPARE(unloads, QStringList{QStringLiteral("child")});
    QTRY_VERIFY(about == nullptr);
    // Nothing is left on the screen to keep the program running.
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void MainFrameTest::helpKey_data()
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

void MainFrameTest::helpKey()
{
    QFETCH(bool, fromMenu);
    QFETCH(int, releases);
    QFETCH(int, topic);
    QFETCH(int, counted);
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    auto *test = m_frame->ShowChild<TestWindow>();
    QVERIFY(test->StartButton()->hasFocus());
    if (releases >= 0) {
        m_dialogs.QueueInput(QStringLiteral("Ann"));
        test->StartButton()->click();
        for (int i = 0; i < releases; ++i)
            QTest::keyClick(test->Diagram(), Qt::Key_A);
        QVERIFY(test->Diagram()->hasFocus());
    }
    const int before = test->Run().KeyCount();
    if (fromMenu)
        MenuItem(m_frame, QStringLiteral("mnuContents"))->trigger();
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCoreApplication::processEvents();
    const QList<HelpRequests::Request> opened{{QStringLiteral("Velm2.chm"), topic}};
    QCOMPARE(m_help.Log(), topic >= 0 ? opened : QList<HelpRequests::Request>());
    QCOMPARE(test->Run().KeyCount() - before, counted);
}

void MainFrameTest::historyCommands_data()
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
void MainFrameTest::historyCommands()
{
    QFETCH(QString, trigger);
    QFETCH(QString, answer);
    QFETCH(QString, made);
    m_dialogs.Clear();
    QTemporaryDir &dir = *m_dir;
    HistoryRecord record;
    record.SetName(QStringLiteral("Ann"));
    record.RecDate = 37597.0;
    record.RecCounts = {40, 38, 36, 35};
    for (const char *name : {"restest.dat", "old.dat"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(record.Encode());
    }
    auto *data = m_frame->ShowChild<DataWindow>();
    if (!answer.isEmpty())
        m_dialogs.QueueFile(dir.filePath(answer));

    if (QAction *item = MenuItem(m_frame, trigger))
        item->trigger();
    else
        QVERIFY(QMetaObject::invokeMethod(data, trigger.toLatin1().constData()));

    QCOMPARE(m_dialogs.Log().size(), 1 + (answer.isEmpty() ? 0 : 1));
    QTEST(m_dialogs.MessageTexts(), "messages");
    if (!made.isEmpty())
        QVERIFY(QFile::exists(dir.filePath(made)));
    QCOMPARE(m_frame->HistoryInUse(),
             dir.filePath(trigger == "mnuOpenOld" ? "old.dat" : "restest.dat"));
    QCOMPARE(QFileInfo(dir.filePath("restest.dat")).size(), 80);
}

void MainFrameTest::runKeepsItsRecord_data()
{
    // What the operator does with the mouse in the middle of the run, after
    // the second interval's releases, the messages that brings, and the
    // name View > Results then shows (none: "There are no data!").
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("shown");
    QTest::newRow("data window") << "mnuDat" << QStringList() << "Zed";
    QTest::newRow("data window, a record selected") << "select" << QStringList() << "Zed";
    QTest::newRow("export") << "mnuExport" << QStringList{"File saved!"} << "";
    QTest::newRow("print") << "mnuPr" << QStringList() << "";
    QTest::newRow("open old data") << "mnuOpenOld" << QStringList{"History open!"} << "";
    QTest::newRow("results, Cancel") << "Cancel" << QStringList{"There are no data!"} << "";
}

// A run stores the tested person's own name and counts, whatever the
// operator brings up meanwhile: the keys go on counting into the run from
// whichever window is active, Results shows the last whole result and
// never the live counts; once stored, the run is the result "Next >>"
// shows.
void MainFrameTest::runKeepsItsRecord()
{
    using namespace HistoryFiles;
    QFETCH(QString, meanwhile);
    QFETCH(QString, shown);
    QTemporaryDir &dir = *m_dir;
    Platform::SetClock(&m_clock);
    const HistoryRecord zed = record("Zed", Dec7, 0.5, 12, {40, 38, 36, 35});
    QVERIFY(put(dir.filePath("restest.dat"), zed.Encode()));
    QVERIFY(put(dir.filePath("old.dat"), zed.Encode()));
    auto *test = m_frame->ShowChild<TestWindow>();
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    test->StartButton()->click();
    // Each key goes where the focus is, as the window system sends it.
    const auto release = [](int times) {
        for (int i = 0; i < times; ++i) {
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
        }
    };
    const int counts[] = {12, 30, 28, 26, 25};
    for (int interval = 0; interval < 5; ++interval) {
        release(counts[interval]);
        if (interval == 2) {
            m_dialogs.Clear();
            if (meanwhile == "mnuDat") {
                m_frame->OnData();
            } else if (meanwhile == "select") {
                m_frame->OnData();
                m_frame->Child<DataWindow>()->List()->setCurrentRow(0);
            } else if (meanwhile == "mnuExport") {
                m_dialogs.QueueFile(dir.filePath("table"));
                m_frame->OnExport();
            } else if (meanwhile == "mnuPr") {
                const QString pdf = dir.filePath("out.pdf");
                m_dialogs.QueuePrinter([pdf](QPrinter &printer) {
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setOutputFileName(pdf);
                });
                m_frame->OnPrint();
            } else if (meanwhile == "mnuOpenOld") {
                m_dialogs.QueueFile(dir.filePath("old.dat"));
                m_frame->OnOpenOld();
            } else {
                m_frame->OnResults();
                QTest::mouseClick(m_frame->Child<ResultsWindow>()->CancelButton(), Qt::LeftButton);
            }
            QTEST(m_dialogs.MessageTexts(), "messages");
            m_dialogs.Clear();
            m_frame->OnResults();
            QCOMPARE(m_frame->Child<ResultsWindow>()->NameBox()->text().trimmed(), shown);
            QCOMPARE(m_dialogs.MessageTexts(),
                     shown.isEmpty() ? QStringList{"There are no data!"} : QStringList());
            // The keys go on to the results window's Cancel button, where
            // Space would press it.
            QVERIFY(QApplication::focusWidget() != test->Diagram());
        }
        m_clock.AdvanceMs(5000);
        test->Run().Intervals()->EndIntervalNow();
    }
    QCOMPARE(test->Run().CurrentState(), TestRun::State::Idle);
    QVERIFY(!m_dialogs.MessageTexts().contains("Error. No data!"));

    // Appended behind Zed, to the history in use at the end of the run.
    const QByteArray bytes = contents(m_frame->HistoryInUse());
    QCOMPARE(bytes.size(), 160);
    QCOMPARE(bytes.left(80), zed.Encode());
    const auto stored = HistoryRecord::Decode(bytes.constData() + 80, 80);
    QCOMPARE(stored->RecName, HistoryRecord::FitName("Ann"));
    QCOMPARE(stored->RecCounts, (std::array<std::int16_t, 4>{30, 28, 26, 25}));
    QCOMPARE(stored->RecCMF, std::int16_t(17));
    QCOMPARE(stored->RecDate, Dec7);
    QCOMPARE(m_frame->Current().Get(), TestResult::Of(*stored, m_frame->HistoryInUse(), 2));

    test->NextButton()->click();
    auto *results = m_frame->Child<ResultsWindow>();
    QVERIFY(results);
    QCOMPARE(results->NameBox()->text().trimmed(), QStringLiteral("Ann"));
}

// View > Test in the middle of a run, with the results window open beside
// the test window: the keys stay with the diagram. The test window was left
// for the results window and came back by a click on "Start", so its frame
// still remembers "Start" (disabled during the run) as the control to
// return to; the frame itself must not end up with the keys.
void MainFrameTest::testItemKeepsTheDiagramsKeys()
{
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    auto *test = m_frame->ShowChild<TestWindow>();
    QVERIFY(test->StartButton()->hasFocus());
    m_frame->OnResults();
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"There are no data!"});
    m_dialogs.QueueInput(QStringLiteral("Ann"));
    QTest::mouseClick(test->StartButton(), Qt::LeftButton);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), test->SubWindow());
    QTest::keyClick(test->Diagram(), Qt::Key_A);
    QCOMPARE(test->Run().KeyCount(), std::int16_t(1));

    MenuItem(m_frame, QStringLiteral("mnuTest"))->trigger();
    QCOMPARE(QApplication::focusWidget(), test->Diagram());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    QCOMPARE(test->Run().KeyCount(), std::int16_t(2));
}

TestWindow *MainFrameTest::RunTest(const QString &name, const QList<int> &releases, bool esc)
{
    Platform::SetClock(&m_clock);
    auto *test = m_frame->ShowChild<TestWindow>();
    m_dialogs.Clear();
    m_dialogs.QueueInput(name);
    test->StartButton()->click();
    for (qsizetype interval = 0; interval < releases.size(); ++interval) {
        for (int i = 0; i < releases[interval]; ++i) {
            QTest::keyPress(test->Diagram(), Qt::Key_A);
            QTest::keyRelease(test->Diagram(), Qt::Key_A);
        }
        if (esc && interval == 1) {
            QTest::keyPress(test->Diagram(), Qt::Key_Escape);
            break;
        }
        m_clock.AdvanceMs(5000);
        test->Run().Intervals()->EndIntervalNow();
    }
    return test;
}

// Closing the active child brings up the one just beneath it, not the one
// opened first: after the results window, the window it covered.
void MainFrameTest::closingActivatesTheWindowBeneath()
{
    auto *first = m_frame->ShowChild<FirstWindow>();
    auto *second = m_frame->ShowChild<SecondWindow>();
    auto *third = m_frame->ShowChild<ThirdWindow>();
    QMdiArea *area = m_frame->MdiArea();
    area->setActiveSubWindow(first->SubWindow());
    // From the bottom: second, third, first.
    first->SubWindow()->close();
    QCOMPARE(area->activeSubWindow(), third->SubWindow());
    area->setActiveSubWindow(second->SubWindow());
    second->SubWindow()->close();
    QCOMPARE(area->activeSubWindow(), third->SubWindow());
}

// Each window opens at a place of the cascade of its own: one opened again
// takes the first place no open window sits on.
void MainFrameTest::reopenedWindowTakesAFreePlace()
{
    QPointer<FirstWindow> first = m_frame->ShowChild<FirstWindow>();
    QPointer<SecondWindow> second = m_frame->ShowChild<SecondWindow>();
    auto *third = m_frame->ShowChild<ThirdWindow>();
    const QPoint step = second->SubWindow()->pos();
    QCOMPARE(first->SubWindow()->pos(), QPoint(0, 0));
    QVERIFY(step.x() > 0 && step.y() == step.x());
    QCOMPARE(third->SubWindow()->pos(), 2 * step);
    second->SubWindow()->close();
    QTRY_VERIFY(second.isNull());
    QCOMPARE(m_frame->ShowChild<SecondWindow>()->SubWindow()->pos(), step);
    first->SubWindow()->close();
    QCOMPARE(m_frame->ShowChild<FirstWindow>()->SubWindow()->pos(), QPoint(0, 0));
    // With the first three places taken, a fourth window goes below them.
    QCOMPARE(m_frame->ShowChild<FourthWindow>()->SubWindow()->pos(), 3 * step);
}

void MainFrameTest::strayKeysPressNoButton_data()
{
    QTest::addColumn<bool>("esc");
    // For how long after the stop the person goes on pressing keys.
    QTest::addColumn<int>("keysForMs");
    QTest::newRow("the test completed") << false << 0;
    QTest::newRow("Esc") << true << 0;
    QTest::newRow("keys for three seconds after the end") << false << 3000;
}

// The tested person's keys after the stop press no button: "Next >>",
// "Start" and the results window's "Cancel" take no key for as long as keys
// keep coming, while the mouse works as ever; once a second has passed
// without a key the keys do again.
void MainFrameTest::strayKeysPressNoButton()
{
    QFETCH(bool, esc);
    QFETCH(int, keysForMs);
    TestWindow *test = RunTest(QStringLiteral("Ann"), {12, 30, 28, 26, 25}, esc);
    QCOMPARE(test->Run().CurrentState(), TestRun::State::Idle);
    QVERIFY(test->NextButton()->hasFocus());
    const auto result = m_frame->Current().Get();
    const QSize frame = m_frame->frameGeometry().size();

    QVERIFY(m_frame->StrayKeys().IsOn());
    for (int ms = 0; ms <= keysForMs; ms += 300) {
        for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(test->NextButton(), key);
        QTest::keyClick(test->StartButton(), Qt::Key_Space);
        m_clock.AdvanceMs(300);
    }
    QVERIFY(m_frame->StrayKeys().IsOn());
    QCOMPARE(m_frame->Child<ResultsWindow>(), nullptr);
    QCOMPARE(m_frame->frameGeometry().size(), frame);
    QCOMPARE(m_dialogs.Log().size(), 1);
    QVERIFY(test->NextButton()->isEnabled());

    m_dialogs.Clear();
    QTest::mouseClick(test->NextButton(), Qt::LeftButton);
    auto *results = m_frame->Child<ResultsWindow>();
    QVERIFY(results);
    QCOMPARE(m_dialogs.MessageTexts(), esc ? QStringList{"There are no data!"} : QStringList());
    QTest::keyClick(results->CancelButton(), Qt::Key_Space);
    QVERIFY(!results->IsUnloaded());
    QCOMPARE(m_frame->Current().Get(), result);

    m_clock.AdvanceMs(StrayKeyGuard::QuietMs - 1);
    QVERIFY(m_frame->StrayKeys().IsOn());
    m_clock.AdvanceMs(1);
    QVERIFY(!m_frame->StrayKeys().IsOn());
    QTest::keyClick(results->CancelButton(), Qt::Key_Space);
    QVERIFY(results->IsUnloaded());
    QVERIFY(!m_frame->Current().Get());
}

// A test finished while the data window is open is in its list at once,
// selected, in columns that line up with the lines above it, whole.
void MainFrameTest::storedTestAppearsInOpenDataWindow()
{
    using namespace HistoryFiles;
    // A name of wide letters above one of narrow ones, and a verdict
    // shorter than the one below it.
    const HistoryRecord wide = record("WWWWWWWW", Dec7, 0.5, 12, {40, 38, 36, 35});
    QVERIFY(put(m_frame->HistoryInUse(), wide.Encode()));
    m_frame->OnData();
    auto *data = m_frame->Child<DataWindow>();
    QVERIFY(data);
    QListWidget *list = data->List();
    QCOMPARE(list->count(), 1);

    TestWindow *test = RunTest(QStringLiteral("iiiiiiii"), {12, 25, 25, 24, 24});
    QCOMPARE(test->Run().CurrentState(), TestRun::State::Idle);
    QCOMPARE(contents(m_frame->HistoryInUse()).size(), 160);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(data->NameDetail()->text().trimmed(), QStringLiteral("iiiiiiii"));
    // The run is still the result "Next >>" shows.
    QCOMPARE(m_frame->Current().Get()->record.RecName.trimmed(), QStringLiteral("iiiiiiii"));
    QCOMPARE(m_frame->Current().Get()->recNo, 2);

    const QString above = list->item(0)->text();
    const QString below = list->item(1)->text();
    QVERIFY2(below.endsWith(QStringLiteral("Unreliable")) && above.endsWith("Reliable") &&
                 below.size() > above.size(),
             qPrintable(above + QLatin1Char('\n') + below));
    QVERIFY(QFontInfo(list->font()).fixedPitch());
    const QFontMetrics metrics(list->font());
    for (qsizetype column = above.indexOf(QLatin1Char('*')); column >= 0;
         column = above.indexOf(QLatin1Char('*'), column + 1)) {
        QCOMPARE(below.at(column), QLatin1Char('*'));
        QCOMPARE(metrics.horizontalAdvance(below.left(column)),
                 metrics.horizontalAdvance(above.left(column)));
    }
    // No line ends in an ellipsis: a line wider than the list is scrolled
    // to, to its last letter.
    QCOMPARE(list->textElideMode(), Qt::ElideNone);
    QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
    const QModelIndex longest = list->model()->index(1, 0);
    const int needed = list->sizeHintForIndex(longest).width();
    QVERIFY(needed > metrics.horizontalAdvance(below));
    QVERIFY(list->visualRect(longest).width() >= needed);
    QVERIFY(list->horizontalScrollBar()->maximum() + list->viewport()->width() >= needed);
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"

// The test window as the view of a run, driven the way a person drives it:
// Start, the name prompt, keys in the diagram area, interval ends, Esc;
// what the window shows and where the keys go. The run's own rules are in
// TestRunTest. The intervals are ended by hand instead of waiting 25
// seconds, and the history file is a temporary one.
#include "session/TestWindow.h"
#include "FakeClock.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "session/RunKeyboard.h"
#include "shell/MainFrame.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using State = TestRun::State;

// Runs a check at the moment a widget is enabled or disabled.
class EnabledWatcher : public QObject
{
public:
    explicit EnabledWatcher(std::function<void()> check) : m_check(std::move(check)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            m_check();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_check;
};

// Another working window, to take the activation away from the test window.
class OtherWindow : public ChildWindow
{
    Q_OBJECT
};

class TestWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadedWindow();
    void frameMenuInRussian();
    void startWithoutName();
    void startArmsTheRun();
    void heldKeyCountsOnce();
    void driftBeginsWithSecondRelease();
    void otherKeysCountAndKeepFocus();
    void escAborts_data();
    void escAborts();
    void completedRunIsStored();
    void arrowKeyRefocusesNext_data();
    void arrowKeyRefocusesNext();
    void nextEnlargesFrameAndDisables();
    void reactivationDuringRunKeepsDiagram();
    void idleColourCycleRunsWhileActive();
    void closingDuringRunAbandonsIt();
    void releaseCountsByItsTimestamp();

private:
    void Start(const QString &name);
    void Release(int key, bool autoRepeat = false);
    void Press(int key);
    void Releases(int count);
    void EndInterval() { m_test->Run().Intervals()->EndIntervalNow(); }
    QByteArray History() const;

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    FakeClock m_clock;
    MainFrame *m_frame = nullptr;
    TestWindow *m_test = nullptr;
};

void TestWindowTest::init()
{
    QFile::remove(m_dir.filePath(QStringLiteral("restest.dat")));
    m_dialogs.Clear();
    Platform::SetClock(&m_clock);
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0, 200));
    m_clock.SetStepPerReadingMs(0);
    m_frame = new MainFrame(m_dir.filePath(QStringLiteral("restest.dat")));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    m_test = m_frame->ShowChild<TestWindow>();
}

void TestWindowTest::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
    Platform::SetClock(nullptr);
}

void TestWindowTest::Start(const QString &name)
{
    m_dialogs.QueueInput(name);
    m_test->StartButton()->click();
}

void TestWindowTest::Press(int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(m_test->Diagram(), &event);
}

void TestWindowTest::Release(int key, bool autoRepeat)
{
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(m_test->Diagram(), &event);
}

void TestWindowTest::Releases(int count)
{
    for (int i = 0; i < count; ++i) {
        Press(Qt::Key_A);
        Release(Qt::Key_A);
    }
}

QByteArray TestWindowTest::History() const
{
    QFile file(m_frame->HistoryInUse());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestWindowTest::loadedWindow()
{
    QCOMPARE(m_test->Run().CurrentState(), State::Idle);
    QCOMPARE(m_test->windowTitle(), QStringLiteral("Velmora"));
    QVERIFY(m_test->Run().LoopIdle());
    QCOMPARE(m_test->Run().DriftTimer()->interval(), 60);
    QCOMPARE(m_test->CountLabel()->text(), QStringLiteral("60"));
    QCOMPARE(m_test->OuterHeight(), Twips::FromPixels(Twips::ToPixels(5260)));
    QVERIFY(qAbs(m_test->OuterWidth() - 5260 * 1.61) <= 15);
    QCOMPARE(m_test->Diagram()->width(), Twips::ToPixels(m_test->OuterWidth() + 100));
    QVERIFY(m_test->StartButton()->isEnabled());
    QVERIFY(!m_test->NextButton()->isEnabled());
    QVERIFY(!m_test->Diagram()->isEnabled());
    QVERIFY(m_test->StartButton()->hasFocus());
    QVERIFY(m_test->IdleColourTimer()->isActive());
    QVERIFY(!m_test->EscHint()->isVisible());
    QVERIFY(!m_test->EndNote()->isVisible());
    QCOMPARE(m_test->EscHint()->text(), QStringLiteral("Press \"Esc\" for stop test!"));
    // The keyboard order: diagram, Start, Next.
    const auto nextStop = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    QCOMPARE(nextStop(m_test->Diagram()), m_test->StartButton());
    QCOMPARE(nextStop(m_test->StartButton()), m_test->NextButton());
    // The child's frame cannot be resized, but it can be closed.
    QCOMPARE(m_test->SubWindow()->minimumSize(), m_test->SubWindow()->maximumSize());
    QStringList menu;
    for (QAction *action : m_test->SubWindow()->systemMenu()->actions()) {
        if (action->isVisible() && action->isEnabled())
            menu << action->text().remove(QLatin1Char('&'));
    }
    QVERIFY2(menu.contains(QStringLiteral("Close")), qPrintable(menu.join(',')));
    QVERIFY(!menu.contains(QStringLiteral("Size")));
}

// With Qt's Russian loaded, a child's frame menu offers moving and closing,
// in Russian, and neither sizing nor staying on top, which would let it
// cover the test window; not even after Qt has shown all its items again.
void TestWindowTest::frameMenuInRussian()
{
    QTranslator russian;
    QVERIFY(russian.load(QLocale(QLocale::Russian), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&russian);
    // The menu's texts are read from the translation as the frame is made.
    QMdiSubWindow *frame = m_frame->ShowChild<OtherWindow>()->SubWindow();
    QCoreApplication::removeTranslator(&russian);
    QMenu *menu = frame->systemMenu();
    const auto offered = [menu] {
        QStringList items;
        for (QAction *action : menu->actions()) {
            if (action->isVisible() && !action->isSeparator())
                items << action->text();
        }
        return items;
    };
    const QStringList expected{QStringLiteral("&Переместить"), QStringLiteral("&Закрыть")};
    QCOMPARE(offered(), expected);
    // Setting the frame's flags anew makes Qt show every item it has.
    frame->setWindowFlags(frame->windowFlags());
    QVERIFY(offered().contains(QStringLiteral("Оставаться &сверху")));
    frame->show();
    frame->showSystemMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(offered(), expected);
    menu->close();
}

void TestWindowTest::startWithoutName()
{
    m_dialogs.QueueInput(std::nullopt);
    m_test->StartButton()->click();
    QCOMPARE(m_dialogs.Log().size(), 1);
    QCOMPARE(m_test->Run().CurrentState(), State::Idle);
    QVERIFY(m_test->StartButton()->isEnabled());
    QVERIFY(!m_test->Diagram()->isEnabled());
    QVERIFY(m_test->IdleColourTimer()->isActive());
    QVERIFY(!m_test->EscHint()->isVisible());
}

void TestWindowTest::startArmsTheRun()
{
    Start(QStringLiteral("Ann"));

    const LiveDiagram &pen = m_test->Pen();
    QCOMPARE(m_test->Run().CurrentState(), State::Armed);
    QCOMPARE(pen.PenX(), float(m_test->Diagram()->ScaleWidth() / 10));
    QCOMPARE(pen.PenY(), float(m_test->Diagram()->ScaleHeight() / 2));
    QVERIFY(!m_test->StartButton()->isEnabled());
    QVERIFY(!m_test->NextButton()->isEnabled());
    QVERIFY(m_test->Diagram()->hasFocus());
    QVERIFY(m_test->EscHint()->isVisible());
    QVERIFY(m_test->Instructions()->isVisible());
    // The instructions keep their place and are shown whole: every wrapped
    // line within the window's inside and the label.
    const QLabel *instructions = m_test->Instructions();
    QCOMPARE(instructions->pos(), Twips::ToPixels(3480, 4080, 4935, 615).topLeft());
    QVERIFY(m_test->rect().contains(instructions->geometry()));
    const QRect text = instructions->fontMetrics().boundingRect(
        QRect(0, 0, instructions->width(), 10000), Qt::TextWordWrap, instructions->text());
    QVERIFY2(text.width() <= instructions->width() && text.height() <= instructions->height(),
             qPrintable(QStringLiteral("text %1x%2 in a label of %3x%4")
                            .arg(text.width())
                            .arg(text.height())
                            .arg(instructions->width())
                            .arg(instructions->height())));
    QVERIFY(!m_test->IdleColourTimer()->isActive());
    // Black, with the centre line.
    const QImage image = m_test->Diagram()->Image();
    QCOMPARE(image.pixelColor(image.width() / 2, 10), QColor(Qt::black));
    const QPoint centre = m_test->Diagram()->ToPixel({4000, pen.PenY()});
    QCOMPARE(image.pixelColor(centre), QColor(0, 0, 255));
}

void TestWindowTest::heldKeyCountsOnce()
{
    Start(QStringLiteral("Ann"));
    Press(Qt::Key_B);
    for (int i = 0; i < 50; ++i) {
        Release(Qt::Key_B, true);
        Press(Qt::Key_B);
    }
    Release(Qt::Key_B);
    QCOMPARE(m_test->Run().KeyCount(), std::int16_t(1));
    QCOMPARE(m_test->Run().Counts()[0], std::int16_t(1));
}

void TestWindowTest::driftBeginsWithSecondRelease()
{
    Start(QStringLiteral("Ann"));
    const LiveDiagram &pen = m_test->Pen();
    const float penX = pen.PenX();
    const float penY = pen.PenY();
    Releases(1);
    QCOMPARE(m_test->Run().CurrentState(), State::Counting);
    QCOMPARE(m_test->CountLabel()->text(), QStringLiteral("1"));
    QCOMPARE(pen.PenX(), penX);
    Releases(1);
    QCOMPARE(m_test->CountLabel()->text(), QStringLiteral("2"));
    QCOMPARE(pen.PenX(), penX + 10);
    QCOMPARE(pen.PenY(), penY - 160);
    const QPoint mark = m_test->Diagram()->ToPixel({pen.PenX() + 5, pen.PenY()});
    QCOMPARE(m_test->Diagram()->Image().pixelColor(mark), QColor(0, 255, 0));
    m_test->Run().OnDriftTick();
    QCOMPARE(pen.PenY(), penY - 160 + 65);
}

void TestWindowTest::otherKeysCountAndKeepFocus()
{
    Start(QStringLiteral("Ann"));
    const int keys[] = {Qt::Key_Tab,     Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Shift,
                        Qt::Key_Control, Qt::Key_Alt,     Qt::Key_F1,    Qt::Key_Left};
    for (int key : keys) {
        QTest::keyPress(m_test->Diagram(), Qt::Key(key));
        QTest::keyRelease(m_test->Diagram(), Qt::Key(key));
        QVERIFY2(m_test->Diagram()->hasFocus(), qPrintable(QKeySequence(key).toString()));
    }
    QCOMPARE(m_test->Run().KeyCount(), std::int16_t(std::size(keys)));
    QCOMPARE(m_test->Run().LastKey(), std::int16_t(37));
}

void TestWindowTest::escAborts_data()
{
    QTest::addColumn<int>("releases");
    QTest::addColumn<int>("intervalsEnded");
    QTest::newRow("armed") << 0 << 0;
    QTest::newRow("counting, last interval") << 5 << 4;
}

// What the window shows after Esc; what the run keeps of it is TestRunTest's.
void TestWindowTest::escAborts()
{
    QFETCH(int, releases);
    QFETCH(int, intervalsEnded);
    Start(QStringLiteral("Ann"));
    Releases(releases);
    for (int i = 0; i < intervalsEnded; ++i) {
        EndInterval();
        Releases(40);
    }
    Press(Qt::Key_Escape);

    QCOMPARE(m_test->Run().CurrentState(), State::Idle);
    QVERIFY(m_test->StartButton()->isEnabled());
    QVERIFY(m_test->NextButton()->isEnabled());
    QVERIFY(m_test->NextButton()->hasFocus());
    QVERIFY(!m_test->EscHint()->isVisible());
    QVERIFY(m_test->EndNote()->isVisible());
    QCOMPARE(m_test->EndNote()->text(), QStringLiteral("Test stopped"));
    // Esc's own release no longer reaches the diagram area.
    QVERIFY(!m_test->Diagram()->isEnabled());
}

// The window goes idle first, and only then is the run stored; the record
// stored is TestRunTest's.
void TestWindowTest::completedRunIsStored()
{
    Start(QStringLiteral("Ann"));
    const int perInterval[] = {12, 40, 38, 36, 35};
    qsizetype storedWhenIdle = -1;
    EnabledWatcher watcher([&] {
        if (!m_test->Diagram()->isEnabled())
            storedWhenIdle = History().size();
    });
    m_test->Diagram()->installEventFilter(&watcher);
    for (int i = 0; i < 5; ++i) {
        Releases(perInterval[i]);
        QCOMPARE(m_test->IntervalLabel()->text(), QString::number(i));
        m_clock.AdvanceMs(5000);
        EndInterval();
    }
    m_test->Diagram()->removeEventFilter(&watcher);
    QCOMPARE(storedWhenIdle, 0);
    QCOMPARE(m_test->Run().CurrentState(), State::Idle);
    QCOMPARE(m_test->IntervalLabel()->text(), QStringLiteral("5"));
    QCOMPARE(History().size(), 80);
    QVERIFY(m_dialogs.MessageTexts().isEmpty());
    QVERIFY(m_test->NextButton()->isEnabled());
    // The diagram area says the test is over, whole, in the part of it the
    // window shows, over the idle colours, until the next Start.
    QLabel *note = m_test->EndNote();
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("Test complete"));
    QVERIFY(m_test->Diagram()->geometry().intersected(m_test->rect()).contains(note->geometry()));
    QVERIFY(note->width() >= note->fontMetrics().horizontalAdvance(note->text()));
    QVERIFY(m_test->IdleColourTimer()->isActive());
    Start(QStringLiteral("Bob"));
    QVERIFY(!note->isVisible());
}

void TestWindowTest::arrowKeyRefocusesNext_data()
{
    QTest::addColumn<int>("lastKey");
    QTest::addColumn<bool>("refocus");
    QTest::newRow("left arrow") << int(Qt::Key_Left) << true;
    QTest::newRow("down arrow") << int(Qt::Key_Down) << true;
    QTest::newRow("letter") << int(Qt::Key_X) << false;
}

void TestWindowTest::arrowKeyRefocusesNext()
{
    QFETCH(int, lastKey);
    QFETCH(bool, refocus);
    Start(QStringLiteral("Ann"));
    Releases(3);
    Press(lastKey);
    Release(lastKey);
    for (int i = 0; i < 5; ++i)
        EndInterval();
    QVERIFY(m_test->NextButton()->hasFocus());
    QCOMPARE(m_test->RefocusTimer()->isActive(), refocus);
    if (!refocus)
        return;
    QCOMPARE(m_test->RefocusTimer()->interval(), 500);
    m_test->StartButton()->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(m_test->NextButton()->hasFocus(), 2000);
    QVERIFY(!m_test->RefocusTimer()->isActive());
}

void TestWindowTest::nextEnlargesFrameAndDisables()
{
    Start(QStringLiteral("Ann"));
    Press(Qt::Key_Escape);
    QSignalSpy next(m_test, &TestWindow::NextRequested);
    const QSize before = m_frame->frameGeometry().size();
    m_test->NextButton()->click();
    QCOMPARE(next.size(), 1);
    QVERIFY(m_frame->frameGeometry().height() > before.height());
    QVERIFY(!m_test->NextButton()->isEnabled());
}

// Leaving the window and coming back while a person is being tested must
// not paint the colour cycle over the diagram nor take the keys away.
void TestWindowTest::reactivationDuringRunKeepsDiagram()
{
    Start(QStringLiteral("Ann"));
    Releases(2);
    m_frame->ShowChild<OtherWindow>();
    m_frame->MdiArea()->setActiveSubWindow(m_test->SubWindow());
    QVERIFY(!m_test->IdleColourTimer()->isActive());
    QVERIFY(m_test->Diagram()->hasFocus());
    Releases(1);
    QCOMPARE(m_test->Run().KeyCount(), std::int16_t(3));
}

void TestWindowTest::idleColourCycleRunsWhileActive()
{
    m_test->OnIdleColourTick();
    QCOMPARE(m_test->Diagram()->BackColor(), QColor(5, 3, 245));
    m_frame->ShowChild<OtherWindow>();
    QVERIFY(!m_test->IdleColourTimer()->isActive());
    m_frame->MdiArea()->setActiveSubWindow(m_test->SubWindow());
    QVERIFY(m_test->IdleColourTimer()->isActive());
    QVERIFY(m_test->StartButton()->hasFocus());
    // The cycle goes on where it stopped.
    m_test->OnIdleColourTick();
    QCOMPARE(m_test->Diagram()->BackColor(), QColor(10, 6, 240));
}

void TestWindowTest::closingDuringRunAbandonsIt()
{
    Start(QStringLiteral("Ann"));
    Releases(10);
    EndInterval();
    Releases(10);
    QPointer<TestWindow> closed = m_test;
    m_test->SubWindow()->close();
    QVERIFY(!m_test->Run().KeysStarted());
    QVERIFY(m_test->Run().LoopIdle());
    QCOMPARE(m_test->Run().Counts(), IntervalCounts{});
    QVERIFY(!m_test->Keyboard()->IsTaken());
    QTRY_VERIFY(closed.isNull());
    QVERIFY(History().isEmpty());
    // "Test" brings up a new, idle test window.
    MenuItem(m_frame, QStringLiteral("mnuTest"))->trigger();
    m_test = m_frame->Child<TestWindow>();
    QVERIFY(m_test);
    QCOMPARE(m_test->Run().CurrentState(), State::Idle);
}

// The time stamp a key event carries reaches the run: a release made just
// before an interval end and handled after it counts in that interval.
void TestWindowTest::releaseCountsByItsTimestamp()
{
    const auto release = [this](std::int64_t madeNs) {
        Press(Qt::Key_A);
        QKeyEvent event(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
        event.setTimestamp(quint64(std::uint32_t(madeNs / 1'000'000)));
        QApplication::sendEvent(m_test->Diagram(), &event);
    };
    Start(QStringLiteral("Ann"));
    release(m_clock.MonotonicNs());
    QVERIFY(m_test->Run().PlacesByTimestamp());
    const std::int64_t end = m_test->Run().Intervals()->FirstDueNs();
    m_clock.AdvanceMs(int((end - m_clock.MonotonicNs()) / 1'000'000) + 300);
    EndInterval();
    QCOMPARE(m_test->Run().IntervalNo(), std::int16_t(1));
    release(end - 20'000'000);
    release(end + 250'000'000);
    QCOMPARE(m_test->Run().Counts(), (IntervalCounts{2, 1, 0, 0, 0}));
}

QTEST_MAIN(TestWindowTest)
#include "TestWindowTest.moc"

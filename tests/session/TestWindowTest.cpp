// The test window as the view of a run, driven the way a person drives it:
// Start, the name prompt, keys in the diagram area, interval ends, Esc;
// what the window shows and where the keys go. The run's own rules are in
// TestRunTest. The intervals are ended by hand instead of waiting 25
// seconds, and the history file is a temporary one.
#include "session/TestWindow.h"
#include "FakeClock.h"
#include "FreshSession.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "record/HistoryRecord.h"
#include "record/OleDate.h"
#include "session/SessionState.h"
#include "shell/MainFrame.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
    void EndInterval() { m_form->Run().Intervals()->EndIntervalNow(); }
    QByteArray History() const;

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    FakeClock m_clock;
    MainFrame *m_frame = nullptr;
    TestWindow *m_form = nullptr;
};

void TestWindowTest::init()
{
    ResetSession();
    QFile::remove(m_dir.filePath(QStringLiteral("restest.dat")));
    Session().DataPath = m_dir.filePath(QStringLiteral("restest.dat"));
    Session().TickInterval = 60;
    m_dialogs.Clear();
    Platform::SetClock(&m_clock);
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0, 200));
    m_clock.SetStepPerReadingMs(0);
    m_frame = new MainFrame;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    m_form = m_frame->ShowChild<TestWindow>();
    QVERIFY(Session().TestFormActive);
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
    m_form->StartButton()->click();
}

void TestWindowTest::Press(int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(m_form->Diagram(), &event);
}

void TestWindowTest::Release(int key, bool autoRepeat)
{
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(m_form->Diagram(), &event);
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
    QFile file(Session().DataPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestWindowTest::loadedWindow()
{
    QCOMPARE(m_form->Run().CurrentState(), State::Idle);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(Session().RecNo, std::int16_t(1));
    QVERIFY(m_form->Run().LoopIdle());
    QCOMPARE(Session().CurrentRecord.RecName, QString(20, QLatin1Char(' ')));
    QCOMPARE(m_form->Run().DriftTimer()->interval(), 60);
    QCOMPARE(m_form->CountLabel()->text(), QStringLiteral("60"));
    QCOMPARE(m_form->OuterHeight(), Twips::FromPixels(Twips::ToPixels(5260)));
    QVERIFY(qAbs(m_form->OuterWidth() - 5260 * 1.61) <= 15);
    QCOMPARE(m_form->Diagram()->width(), Twips::ToPixels(m_form->OuterWidth() + 100));
    QVERIFY(m_form->StartButton()->isEnabled());
    QVERIFY(!m_form->NextButton()->isEnabled());
    QVERIFY(!m_form->Diagram()->isEnabled());
    QVERIFY(m_form->StartButton()->hasFocus());
    QVERIFY(m_form->IdleColourTimer()->isActive());
    QVERIFY(!m_form->EscHint()->isVisible());
    QCOMPARE(m_form->EscHint()->text(), QStringLiteral("Press \"Esc\" for stop test!"));
    // The keyboard order: diagram, Start, Next.
    const auto nextStop = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    QCOMPARE(nextStop(m_form->Diagram()), m_form->StartButton());
    QCOMPARE(nextStop(m_form->StartButton()), m_form->NextButton());
    // The child's frame cannot be resized, but it can be closed.
    QCOMPARE(m_form->SubWindow()->minimumSize(), m_form->SubWindow()->maximumSize());
    QStringList menu;
    for (QAction *action : m_form->SubWindow()->systemMenu()->actions()) {
        if (action->isVisible() && action->isEnabled())
            menu << action->text().remove(QLatin1Char('&'));
    }
    QVERIFY2(menu.contains(QStringLiteral("Close")), qPrintable(menu.join(',')));
    QVERIFY(!menu.contains(QStringLiteral("Size")));
}

void TestWindowTest::startWithoutName()
{
    m_dialogs.QueueInput(std::nullopt);
    m_form->StartButton()->click();
    QCOMPARE(m_dialogs.Log().size(), 1);
    QCOMPARE(m_form->Run().CurrentState(), State::Idle);
    QVERIFY(m_form->StartButton()->isEnabled());
    QVERIFY(!m_form->Diagram()->isEnabled());
    QVERIFY(m_form->IdleColourTimer()->isActive());
    QVERIFY(!m_form->EscHint()->isVisible());
}

void TestWindowTest::startArmsTheRun()
{
    Start(QStringLiteral("Ann"));

    SessionState &session = Session();
    QCOMPARE(m_form->Run().CurrentState(), State::Armed);
    QCOMPARE(session.PenX, float(m_form->Diagram()->ScaleWidth() / 10));
    QCOMPARE(session.PenY, float(m_form->Diagram()->ScaleHeight() / 2));
    QVERIFY(!m_form->StartButton()->isEnabled());
    QVERIFY(!m_form->NextButton()->isEnabled());
    QVERIFY(m_form->Diagram()->hasFocus());
    QVERIFY(m_form->EscHint()->isVisible());
    QVERIFY(m_form->Instructions()->isVisible());
    // The instructions keep their place and are shown whole: every wrapped
    // line within the window's inside and the label.
    const QLabel *label4 = m_form->Instructions();
    QCOMPARE(label4->pos(), Twips::ToPixels(3480, 4080, 4935, 615).topLeft());
    QVERIFY(m_form->rect().contains(label4->geometry()));
    const QRect text = label4->fontMetrics().boundingRect(QRect(0, 0, label4->width(), 10000),
                                                          Qt::TextWordWrap, label4->text());
    QVERIFY2(text.width() <= label4->width() && text.height() <= label4->height(),
             qPrintable(QStringLiteral("text %1x%2 in a label of %3x%4")
                            .arg(text.width())
                            .arg(text.height())
                            .arg(label4->width())
                            .arg(label4->height())));
    QVERIFY(!m_form->IdleColourTimer()->isActive());
    // Black, with the centre line.
    const QImage image = m_form->Diagram()->Image();
    QCOMPARE(image.pixelColor(image.width() / 2, 10), QColor(Qt::black));
    const QPoint centre = m_form->Diagram()->ToPixel({4000, session.PenY});
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
    QCOMPARE(m_form->Run().KeyCount(), std::int16_t(1));
    QCOMPARE(Session().Counts[0], std::int16_t(1));
}

void TestWindowTest::driftBeginsWithSecondRelease()
{
    Start(QStringLiteral("Ann"));
    const float penX = Session().PenX;
    const float penY = Session().PenY;
    Releases(1);
    QCOMPARE(m_form->Run().CurrentState(), State::Counting);
    QCOMPARE(m_form->CountLabel()->text(), QStringLiteral("1"));
    QCOMPARE(Session().PenX, penX);
    Releases(1);
    QCOMPARE(m_form->CountLabel()->text(), QStringLiteral("2"));
    QCOMPARE(Session().PenX, penX + 10);
    QCOMPARE(Session().PenY, penY - 160);
    const QPoint mark = m_form->Diagram()->ToPixel({Session().PenX + 5, Session().PenY});
    QCOMPARE(m_form->Diagram()->Image().pixelColor(mark), QColor(0, 255, 0));
    m_form->Run().OnDriftTick();
    QCOMPARE(Session().PenY, penY - 160 + 65);
}

void TestWindowTest::otherKeysCountAndKeepFocus()
{
    Start(QStringLiteral("Ann"));
    const int keys[] = {Qt::Key_Tab,     Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Shift,
                        Qt::Key_Control, Qt::Key_Alt,     Qt::Key_F1,    Qt::Key_Left};
    for (int key : keys) {
        QTest::keyPress(m_form->Diagram(), Qt::Key(key));
        QTest::keyRelease(m_form->Diagram(), Qt::Key(key));
        QVERIFY2(m_form->Diagram()->hasFocus(), qPrintable(QKeySequence(key).toString()));
    }
    QCOMPARE(m_form->Run().KeyCount(), std::int16_t(std::size(keys)));
    QCOMPARE(m_form->Run().LastKey(), std::int16_t(37));
}

void TestWindowTest::escAborts_data()
{
    QTest::addColumn<int>("releases");
    QTest::addColumn<int>("intervalsEnded");
    QTest::newRow("armed") << 0 << 0;
    QTest::newRow("counting, first interval") << 5 << 0;
    QTest::newRow("counting, last interval") << 5 << 4;
}

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

    QCOMPARE(m_form->Run().CurrentState(), State::Idle);
    QCOMPARE(Session().Counts, IntervalCounts{});
    QVERIFY(m_form->StartButton()->isEnabled());
    QVERIFY(m_form->NextButton()->isEnabled());
    QVERIFY(m_form->NextButton()->hasFocus());
    // Esc's own release no longer reaches the diagram area.
    QVERIFY(!m_form->Diagram()->isEnabled());
    EndInterval();
    QVERIFY(History().isEmpty());
    QVERIFY(m_dialogs.MessageTexts().isEmpty());
}

void TestWindowTest::completedRunIsStored()
{
    Start(QStringLiteral("Ann"));
    const int perInterval[] = {12, 40, 38, 36, 35};
    // The window goes idle first, and only then is the run stored.
    qsizetype storedWhenIdle = -1;
    EnabledWatcher watcher([&] {
        if (!m_form->Diagram()->isEnabled())
            storedWhenIdle = History().size();
    });
    m_form->Diagram()->installEventFilter(&watcher);
    for (int i = 0; i < 5; ++i) {
        Releases(perInterval[i]);
        QCOMPARE(m_form->IntervalLabel()->text(), QString::number(i));
        m_clock.AdvanceMs(5000);
        EndInterval();
    }
    m_form->Diagram()->removeEventFilter(&watcher);
    QCOMPARE(storedWhenIdle, 0);
    QCOMPARE(m_form->Run().CurrentState(), State::Idle);
    QCOMPARE(m_form->IntervalLabel()->text(), QStringLiteral("5"));

    const QByteArray history = History();
    QCOMPARE(history.size(), 80);
    const auto record = HistoryRecord::Decode(history.constData(), history.size());
    QVERIFY(record);
    QCOMPARE(record->RecName.trimmed(), QStringLiteral("Ann"));
    QCOMPARE(record->RecCounts, (std::array<std::int16_t, 4>{40, 38, 36, 35}));
    QCOMPARE(record->RecCMF, std::int16_t(12));
    // Stored with the time the run ended, not the time it was started.
    QCOMPARE(record->RecTime, OleDate::FromTime(QTime(14, 30, 25)));
    QVERIFY(m_dialogs.MessageTexts().isEmpty());
    QVERIFY(m_form->NextButton()->isEnabled());
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
    QVERIFY(m_form->NextButton()->hasFocus());
    QCOMPARE(m_form->RefocusTimer()->isActive(), refocus);
    if (!refocus)
        return;
    QCOMPARE(m_form->RefocusTimer()->interval(), 500);
    m_form->StartButton()->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(m_form->NextButton()->hasFocus(), 2000);
    QVERIFY(!m_form->RefocusTimer()->isActive());
}

void TestWindowTest::nextEnlargesFrameAndDisables()
{
    Start(QStringLiteral("Ann"));
    Press(Qt::Key_Escape);
    QSignalSpy next(m_form, &TestWindow::NextRequested);
    const QSize before = m_frame->frameGeometry().size();
    m_form->NextButton()->click();
    QCOMPARE(next.size(), 1);
    QVERIFY(m_frame->frameGeometry().height() > before.height());
    QVERIFY(!m_form->NextButton()->isEnabled());
}

// Leaving the window and coming back while a person is being tested must
// not paint the colour cycle over the diagram nor take the keys away.
void TestWindowTest::reactivationDuringRunKeepsDiagram()
{
    Start(QStringLiteral("Ann"));
    Releases(2);
    m_frame->ShowChild<OtherWindow>();
    QVERIFY(!Session().TestFormActive);
    m_frame->MdiArea()->setActiveSubWindow(m_form->SubWindow());
    QVERIFY(Session().TestFormActive);
    QVERIFY(!m_form->IdleColourTimer()->isActive());
    QVERIFY(m_form->Diagram()->hasFocus());
    Releases(1);
    QCOMPARE(m_form->Run().KeyCount(), std::int16_t(3));
}

void TestWindowTest::idleColourCycleRunsWhileActive()
{
    m_form->OnIdleColourTick();
    QCOMPARE(m_form->Diagram()->BackColor(), QColor(5, 3, 245));
    m_frame->ShowChild<OtherWindow>();
    QVERIFY(!m_form->IdleColourTimer()->isActive());
    m_frame->MdiArea()->setActiveSubWindow(m_form->SubWindow());
    QVERIFY(m_form->IdleColourTimer()->isActive());
    QVERIFY(m_form->StartButton()->hasFocus());
    // The cycle goes on where it stopped.
    m_form->OnIdleColourTick();
    QCOMPARE(m_form->Diagram()->BackColor(), QColor(10, 6, 240));
}

void TestWindowTest::closingDuringRunAbandonsIt()
{
    Start(QStringLiteral("Ann"));
    Releases(10);
    EndInterval();
    Releases(10);
    QPointer<TestWindow> closed = m_form;
    m_form->SubWindow()->close();
    QVERIFY(!Session().TestFormActive);
    QVERIFY(!m_form->Run().KeysStarted());
    QVERIFY(m_form->Run().LoopIdle());
    QCOMPARE(Session().Counts, IntervalCounts{});
    QTRY_VERIFY(closed.isNull());
    QVERIFY(History().isEmpty());
    // "Test" brings up a new, idle test window.
    MenuItem(m_frame, QStringLiteral("mnuTest"))->trigger();
    m_form = m_frame->Child<TestWindow>();
    QVERIFY(m_form);
    QCOMPARE(m_form->Run().CurrentState(), State::Idle);
    QVERIFY(Session().TestFormActive);
}

// The time stamp a key event carries reaches the run: a release made just
// before an interval end and handled after it counts in that interval.
void TestWindowTest::releaseCountsByItsTimestamp()
{
    const auto release = [this](std::int64_t madeNs) {
        Press(Qt::Key_A);
        QKeyEvent event(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
        event.setTimestamp(quint64(std::uint32_t(madeNs / 1'000'000)));
        QApplication::sendEvent(m_form->Diagram(), &event);
    };
    Start(QStringLiteral("Ann"));
    release(m_clock.MonotonicNs());
    QVERIFY(m_form->Run().PlacesByTimestamp());
    const std::int64_t end = m_form->Run().Intervals()->FirstDueNs();
    m_clock.AdvanceMs(int((end - m_clock.MonotonicNs()) / 1'000'000) + 300);
    EndInterval();
    QCOMPARE(m_form->Run().IntervalNo(), std::int16_t(1));
    release(end - 20'000'000);
    release(end + 250'000'000);
    QCOMPARE(m_form->Run().Counts(), (IntervalCounts{2, 1, 0, 0, 0}));
}

QTEST_MAIN(TestWindowTest)
#include "TestWindowTest.moc"

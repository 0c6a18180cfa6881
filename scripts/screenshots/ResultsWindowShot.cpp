// Renders the main frame as a user sees it after a complete test and
// "Next >>": the test window with the results window over it, into a PNG
// (results_window_shot <file.png>). The run is driven through the real
// test window with a standing clock, so the picture shows a real result.
#include "FakeClock.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/PictureBox.h"
#include "results/ResultsWindow.h"
#include "session/RunTimer.h"
#include "session/TestWindow.h"
#include "shell/MainFrame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: results_window_shot <file.png>\n");
        return 2;
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QTemporaryDir dir;
    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    FakeClock clock;
    Platform::SetClock(&clock);
    clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0));

    MainFrame frame(dir.filePath(QStringLiteral("restest.dat")));
    frame.Start();
    TestWindow *test = frame.Child<TestWindow>();
    dialogs.QueueInput(QStringLiteral("Anna Petrova"));
    test->StartButton()->click();
    for (int count : {30, 36, 35, 34, 33}) {
        for (int i = 0; i < count; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
            QApplication::sendEvent(test->Diagram(), &press);
            QApplication::sendEvent(test->Diagram(), &release);
        }
        clock.AdvanceMs(5000);
        test->Run().Intervals()->EndIntervalNow();
    }
    test->NextButton()->click();
    ResultsWindow *results = frame.Child<ResultsWindow>();
    if (results == nullptr || !dialogs.MessageTexts().isEmpty()) {
        std::fprintf(stderr, "results_window_shot: the run left no result to show\n");
        return 1;
    }
    results->SubWindow()->move(40, 30);
    QApplication::processEvents();
    const bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]));
    Platform::SetClock(nullptr);
    return saved ? 0 : 1;
}

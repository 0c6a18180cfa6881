// Renders the main frame as a user sees it after opening a person's trend:
// the data window on a history of four tests of one person among others',
// that person's line chosen, and the trend window over it, into a PNG
// (trend_window_shot <file.png>). The window is opened through the frame's
// own View menu item, as a person opens it.
#include "HistoryFiles.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/Platform.h"
#include "record/Evaluation.h"
#include "shell/MainFrame.h"
#include "trend/TrendTable.h"
#include "trend/TrendWindow.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <cstdio>

using namespace HistoryFiles;

namespace {

HistoryRecord test(const QString &name, QDate day, QTime time, std::array<std::int16_t, 4> counts)
{
    const double date = Dec7 + QDate(2002, 12, 7).daysTo(day);
    const double ofDay = time.msecsSinceStartOfDay() / 86400000.0;
    return record(name, date, ofDay, Evaluation::CalcCMF(counts[0], counts[3]).value_or(0), counts);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: trend_window_shot <file.png>\n");
        return 2;
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QTemporaryDir dir;
    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    const QString historyPath = dir.filePath(QStringLiteral("restest.dat"));
    // Anna tires more from month to month and starts slower: the fourth
    // test, with fewer than 30 presses at first, is Unreliable.
    const QString anna = QStringLiteral("Anna Petrova");
    const QList<HistoryRecord> history = {
        test(QStringLiteral("Boris Orlov"), {2003, 1, 7}, {9, 30}, {51, 50, 49, 49}),
        test(anna, {2003, 1, 7}, {10, 15}, {42, 41, 40, 39}),
        test(QStringLiteral("Сидорова Анна"), {2003, 1, 21}, {11, 0}, {38, 37, 37, 36}),
        test(anna, {2003, 2, 4}, {10, 40}, {40, 38, 37, 36}),
        test(QStringLiteral("Boris Orlov"), {2003, 2, 4}, {11, 20}, {50, 48, 48, 47}),
        test(anna, {2003, 3, 4}, {9, 50}, {38, 36, 34, 33}),
        test(anna, {2003, 4, 1}, {11, 5}, {28, 26, 24, 23}),
        test(QStringLiteral("Сидорова Анна"), {2003, 4, 1}, {11, 40}, {37, 35, 33, 31}),
    };
    if (!put(historyPath, bytesOf(history))) {
        std::fprintf(stderr, "trend_window_shot: cannot write the history\n");
        return 1;
    }

    MainFrame frame(historyPath);
    frame.show();
    frame.OnData();
    DataWindow *data = frame.Child<DataWindow>();
    data->List()->setCurrentRow(1);
    frame.OnTrend();
    TrendWindow *trend = frame.Child<TrendWindow>();
    if (trend == nullptr || trend->Tests()->rowCount() != 4 || !dialogs.MessageTexts().isEmpty()) {
        std::fprintf(stderr, "trend_window_shot: the trend did not show Anna's four tests\n");
        return 1;
    }
    data->SubWindow()->move(0, 0);
    trend->SubWindow()->move(190, 64);
    QApplication::processEvents();
    const bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]));
    return saved ? 0 : 1;
}

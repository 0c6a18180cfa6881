// How long the data window takes to open on the largest history a file can
// hold (32767 records), inside the real main frame (offscreen unless a
// platform is named), and how much memory the process needs for it. The
// window lists the whole file at every opening, so this is the wait a user
// with a long history has each time; the figures are for each opening and
// the worst of them, with the peak resident size of the whole process.
// A plain program rather than a Google Benchmark: the figure wanted is the
// wall-clock time of one real opening, painting included.
#include "history/Form3.h"
#include "history/HistoryStore.h"
#include "platform/OleDate.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "results/Evaluation.h"
#include "session/SessionState.h"
#include "shell/MDIForm1.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/resource.h>

namespace {

constexpr double OpenTargetMs = 300.0;
constexpr double MemoryTargetMb = 100.0;

struct Options
{
    int openings = 5;
    QString locale = QStringLiteral("ru_RU");
};

void usage()
{
    std::puts("usage: data_window_bench [--openings N] [--locale NAME]\n"
              "  --openings N   times the data window is opened and closed (default 5)\n"
              "  --locale NAME  regional settings the dates and times are written in\n"
              "                 (default ru_RU)");
}

bool parseOptions(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--openings") == 0 && hasValue)
            options.openings = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--locale") == 0 && hasValue)
            options.locale = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    return options.openings > 0;
}

// A history of varied tests, so no line repeats another: names, days,
// times of day and counts all change from record to record.
bool writeHistory(const QString &path)
{
    QByteArray all;
    all.reserve(HistoryStore::MaxRecords * HistoryRecord::RecordLength);
    for (int i = 0; i < HistoryStore::MaxRecords; ++i) {
        HistoryRecord record;
        record.SetName(QStringLiteral("Тестируемый %1").arg(i));
        record.RecDate = OleDate::FromDate(QDate(1998, 1, 1).addDays(i / 5));
        record.RecTime = OleDate::FromTime(QTime(0, 0).addSecs((i * 7919) % 86400));
        const auto c1 = static_cast<std::int16_t>(25 + i % 40);
        const auto c4 = static_cast<std::int16_t>(c1 - i % 9 + 2);
        record.RecCounts = {c1, static_cast<std::int16_t>(c1 - 1),
                            static_cast<std::int16_t>(c1 - 2), c4};
        record.RecCMF = Evaluation::CalcCMF(c1, c4).value_or(0);
        all.append(record.Encode());
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(all) == all.size();
}

double peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(options.locale));

    ScriptedDialogs dialogs;
    Platform::SetDialogs(&dialogs);
    QTemporaryDir dir;
    Session().DataPath = dir.filePath(QStringLiteral("restest.dat"));
    if (!writeHistory(Session().DataPath)) {
        std::fputs("cannot write the history file\n", stderr);
        return 2;
    }

    MDIForm1 frame;
    frame.show();
    QCoreApplication::processEvents();

    double worstMs = 0.0;
    bool listed = true;
    for (int i = 0; i < options.openings; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame.mnuDat_Click();
        QCoreApplication::processEvents();
        auto *form = frame.Child<Form3>();
        form->List1()->viewport()->repaint();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        worstMs = std::max(worstMs, ms);
        listed = listed && form->List1()->count() == HistoryStore::MaxRecords;
        std::printf("opening %d: %.1f ms, %d lines\n", i + 1, ms, form->List1()->count());
        form->SubWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    const double memoryMb = peakResidentMb();
    std::printf("worst opening: %.1f ms (target <= %.0f ms)\n", worstMs, OpenTargetMs);
    std::printf("peak resident: %.1f MB (target < %.0f MB)\n", memoryMb, MemoryTargetMb);
    if (!listed || !dialogs.MessageTexts().isEmpty()) {
        std::fputs("the history was not listed whole\n", stderr);
        return 1;
    }
    return worstMs <= OpenTargetMs && memoryMb < MemoryTargetMb ? 0 : 1;
}

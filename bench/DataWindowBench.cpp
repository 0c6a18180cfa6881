// How long the data window takes to open on the largest history a file can
// hold (32767 records), inside the real main frame (offscreen unless a
// platform is named), and how much memory the process needs for it. The
// window lists the whole file at every opening, so this is the wait a user
// with a long history has each time; the figures are for each opening and
// the worst of them, with the peak resident size of the whole process.
// The export to a text file and the text of the printed table read the
// whole file the same way and are timed here too, in the same process, so
// the peak resident size covers all three.
// A plain program rather than a Google Benchmark: the figure wanted is the
// wall-clock time of one real opening, painting included.
#include "FullHistory.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "history/HistoryExport.h"
#include "history/HistoryStore.h"
#include "history/PrintedHistory.h"
#include "platform/Platform.h"
#include "shell/MainFrame.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
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
constexpr double ExportTargetMs = 200.0;
constexpr double PrintedTargetMs = 200.0;
constexpr double MemoryTargetMb = 100.0;

struct Options
{
    int openings = 5;
    QString locale = QStringLiteral("ru_RU");
};

void usage()
{
    std::puts("usage: data_window_bench [--openings N] [--locale NAME]\n"
              "  --openings N   times the data window is opened and closed, and times the\n"
              "                 export and the printed text are made (default 5)\n"
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

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
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

    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("restest.dat"));
    if (!FullHistory::Write(history,
                            [](int i) { return QStringLiteral("Тестируемый %1").arg(i); })) {
        std::fputs("cannot write the history file\n", stderr);
        return 2;
    }

    MainFrame frame(history);
    frame.show();
    QCoreApplication::processEvents();

    double worstMs = 0.0;
    bool listed = true;
    for (int i = 0; i < options.openings; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame.OnData();
        QCoreApplication::processEvents();
        auto *form = frame.Child<DataWindow>();
        form->List()->viewport()->repaint();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        worstMs = std::max(worstMs, ms);
        listed = listed && form->List()->count() == HistoryStore::MaxRecords;
        std::printf("opening %d: %.1f ms, %d lines\n", i + 1, ms, form->List()->count());
        form->SubWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // The export goes through the frame's command, its file dialog answered
    // with a fresh file each time, so the figure includes writing the file
    // and making it durable, as the user waits for it.
    frame.OnData();
    QCoreApplication::processEvents();
    const QString exportPath = dir.filePath(QStringLiteral("export.txt"));
    double worstExportMs = 0.0;
    bool exported = true;
    for (int i = 0; i < options.openings; ++i) {
        QFile::remove(exportPath);
        dialogs.QueueFile(exportPath);
        const auto start = std::chrono::steady_clock::now();
        frame.OnExport();
        const double ms = msSince(start);
        worstExportMs = std::max(worstExportMs, ms);
        // A header, one line per record and the empty last line.
        QFile table(exportPath);
        exported = exported && table.open(QIODevice::ReadOnly) &&
                   table.readAll().count("\r\n") == HistoryStore::MaxRecords + 2;
        std::printf("export %d: %.1f ms, %lld bytes\n", i + 1, ms, QFileInfo(exportPath).size());
    }
    const QStringList saidAfterExport = dialogs.MessageTexts();
    exported =
        exported && saidAfterExport == QStringList(options.openings, HistoryExport::SavedMessage());

    double worstPrintedMs = 0.0;
    bool printed = true;
    for (int i = 0; i < options.openings; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::optional<QString> text = PrintedHistory::Build(history);
        const double ms = msSince(start);
        worstPrintedMs = std::max(worstPrintedMs, ms);
        printed = printed && text && text->count(QLatin1Char('\n')) > HistoryStore::MaxRecords;
        std::printf("printed text %d: %.1f ms, %lld characters\n", i + 1, ms,
                    text ? qint64(text->size()) : 0LL);
    }

    const double memoryMb = peakResidentMb();
    std::printf("worst opening: %.1f ms (target <= %.0f ms)\n", worstMs, OpenTargetMs);
    std::printf("worst export: %.1f ms (target <= %.0f ms)\n", worstExportMs, ExportTargetMs);
    std::printf("worst printed text: %.1f ms (target <= %.0f ms)\n", worstPrintedMs,
                PrintedTargetMs);
    std::printf("peak resident: %.1f MB (target <= %.0f MB)\n", memoryMb, MemoryTargetMb);
    std::printf("ROW Data window opening, %lld records (worst of %d)|%.0f ms|<= %.0f ms|%s\n",
                static_cast<long long>(HistoryStore::MaxRecords), options.openings, worstMs,
                OpenTargetMs, verdict(worstMs <= OpenTargetMs));
    std::printf("ROW Export to a text file, %lld records (worst of %d)|%.0f ms|<= %.0f ms|%s\n",
                static_cast<long long>(HistoryStore::MaxRecords), options.openings, worstExportMs,
                ExportTargetMs, verdict(worstExportMs <= ExportTargetMs));
    std::printf("ROW Printed text, %lld records (worst of %d)|%.0f ms|<= %.0f ms|%s\n",
                static_cast<long long>(HistoryStore::MaxRecords), options.openings, worstPrintedMs,
                PrintedTargetMs, verdict(worstPrintedMs <= PrintedTargetMs));
    std::printf("ROW Peak resident memory for the three|%.1f MB|<= %.0f MB|%s\n", memoryMb,
                MemoryTargetMb, verdict(memoryMb <= MemoryTargetMb));
    if (!listed || !exported || !printed) {
        std::fprintf(stderr, "the history was not listed, exported and printed whole (%s)\n",
                     qPrintable(saidAfterExport.join(QStringLiteral(" / "))));
        return 1;
    }
    return worstMs <= OpenTargetMs && worstExportMs <= ExportTargetMs &&
                   worstPrintedMs <= PrintedTargetMs && memoryMb <= MemoryTargetMb
               ? 0
               : 1;
}

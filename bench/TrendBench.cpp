// How long reading one person's tests for the trend window takes on the
// largest history a file can hold (32767 records), and how much memory it
// adds: once for a person among forty who share the history (about 800
// tests each), once for a history that is all one person's (every record
// read into the trend). Each is the worst of several readings; the memory
// is the rise of the process's peak resident size over its size before the
// first reading. Then the whole wait, the trend window itself in the real
// main frame (offscreen unless a platform is named), made, read, drawn and
// painted for each of the two: it is to appear within 300 ms, however many
// tests the person has.
// A plain program rather than a Google Benchmark: the figure wanted is the
// wall-clock time of one real reading.
#include "FullHistory.h"
#include "ScriptedPlatform.h"
#include "history/HistoryStore.h"
#include "platform/Platform.h"
#include "shell/MainFrame.h"
#include "trend/PersonTrend.h"
#include "trend/TrendWindow.h"

#include <QApplication>
#include <QChartView>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double ReadTargetMs = 150.0;
constexpr double MemoryTargetMb = 30.0;
constexpr double WindowTargetMs = 300.0;
constexpr int People = 40;

struct Options
{
    int readings = 5;
    QString locale = QStringLiteral("ru_RU");
};

void usage()
{
    std::puts("usage: trend_bench [--readings N] [--locale NAME]\n"
              "  --readings N   times each person's tests are read and the trend window\n"
              "                 shown (default 5)\n"
              "  --locale NAME  regional settings the dates and times are written in\n"
              "                 (default ru_RU)");
}

bool parseOptions(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--readings") == 0 && hasValue)
            options.readings = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--locale") == 0 && hasValue)
            options.locale = QString::fromLocal8Bit(argv[++i]);
        else
            return false;
    }
    return options.readings > 0;
}

// With people > 1 the names take turns, each written now and then in
// capitals or with blanks in front, as the trend still counts them as the
// same person.
bool writeHistory(const QString &path, int people)
{
    return FullHistory::Write(path, [people](int i) {
        QString name = QStringLiteral("Тестируемый %1").arg(i % people);
        if (i % 7 == 3)
            name = name.toUpper();
        if (i % 11 == 5)
            name.prepend(QStringLiteral("  "));
        return name;
    });
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

// A field of /proc/self/status in kB, as MB.
double statusMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

// Starts the peak resident size afresh from the present size, so the peak
// read later belongs to what ran in between.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

struct Case
{
    const char *title;
    QString path;
    QString person;
    qsizetype tests;
};

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
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared.dat"));
    const QString single = dir.filePath(QStringLiteral("single.dat"));
    if (!writeHistory(shared, People) || !writeHistory(single, 1)) {
        std::fputs("cannot write the history files\n", stderr);
        return 2;
    }
    // Person 7 has records 8, 48, 88 and so on.
    const qsizetype ofPerson7 = (HistoryStore::MaxRecords - 8) / People + 1;
    const Case cases[] = {
        {"one person of 40", shared, QStringLiteral("тестируемый 7"), ofPerson7},
        {"all one person's", single, QStringLiteral("Тестируемый 0"), HistoryStore::MaxRecords}};

    // Whatever the writing above left behind is not the reading's.
    const bool peakReset = resetPeak();
    const double before = statusMb("VmRSS");
    double worstMs[2] = {0.0, 0.0};
    bool whole = true;
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < options.readings; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const PersonTrend::Reading reading = PersonTrend::Read(cases[c].path, cases[c].person);
            const double ms = msSince(start);
            worstMs[c] = std::max(worstMs[c], ms);
            whole = whole && reading.complete && reading.tests.size() == cases[c].tests;
            std::printf("reading %s %d: %.1f ms, %lld tests\n", cases[c].title, i + 1, ms,
                        static_cast<long long>(reading.tests.size()));
        }
    }
    const double extraMb = statusMb("VmHWM") - before;

    // The window as the person waits for it: read, sorted, drawn, painted.
    MainFrame frame;
    frame.show();
    QCoreApplication::processEvents();
    double windowMs[2] = {0.0, 0.0};
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < options.readings; ++i) {
            const auto start = std::chrono::steady_clock::now();
            auto *trend = frame.ShowChild<TrendWindow>();
            trend->ShowPersonOf(cases[c].path, 8 + People * i);
            QCoreApplication::processEvents();
            trend->ChartView()->viewport()->repaint();
            const double ms = msSince(start);
            windowMs[c] = std::max(windowMs[c], ms);
            std::printf("window %s %d: %.1f ms\n", cases[c].title, i + 1, ms);
            trend->SubWindow()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    for (int c = 0; c < 2; ++c)
        std::printf("ROW Trend reading, %lld records, %s (worst of %d)|%.0f ms|<= %.0f ms|%s\n",
                    static_cast<long long>(HistoryStore::MaxRecords), cases[c].title,
                    options.readings, worstMs[c], ReadTargetMs,
                    verdict(worstMs[c] <= ReadTargetMs));
    std::printf("ROW Memory the trend readings added%s|%.1f MB|<= %.0f MB|%s\n",
                peakReset ? "" : " (peak of the whole process)", extraMb, MemoryTargetMb,
                verdict(extraMb <= MemoryTargetMb));
    for (int c = 0; c < 2; ++c)
        std::printf("ROW Trend window shown, %lld records, %s (worst of %d)|%.0f ms|appears "
                    "within %.0f ms|%s\n",
                    static_cast<long long>(HistoryStore::MaxRecords), cases[c].title,
                    options.readings, windowMs[c], WindowTargetMs,
                    verdict(windowMs[c] <= WindowTargetMs));
    if (!whole) {
        std::fputs("a reading did not give the person's tests whole\n", stderr);
        return 1;
    }
    const bool met = worstMs[0] <= ReadTargetMs && worstMs[1] <= ReadTargetMs &&
                     extraMb <= MemoryTargetMb && windowMs[0] <= WindowTargetMs &&
                     windowMs[1] <= WindowTargetMs;
    return met ? 0 : 1;
}

// The program as it is started: run for real under a file size limit, with
// SIGXFSZ at its default action. A write past such a limit sends that
// signal, whose default is to end the process at once, half a record
// written and nothing said; the program must take it as the failed write
// it is. Once without a display of its own (offscreen), once with a whole
// test made on a private X server, where the limit falls in the middle of
// the record that test appends. And the language it speaks: the one the
// desktop's settings name, read by the program itself from its
// environment, as a window manager shows the name prompt's caption.
#include "HistoryFiles.h"
#include "ProgramCopy.h"
#include "ProgramOnX.h"
#include "XDesktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>

using namespace HistoryFiles;

namespace {

// The limit on the size of every file the program writes, SIGXFSZ at its
// default: as prlimit --fsize starts it.
void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// The signals the process ignores, from its status in /proc.
quint64 ignoredSignals(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigIgn:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

// The first of the program's visible windows whose caption is title, as
// the window manager reads it (_NET_WM_NAME, in UTF-8); empty when none
// came within the time. xdotool's own search by name cannot match captions
// beyond Latin-1.
QString waitForCaption(const XDesktop &desktop, const QString &title)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < XDesktop::WindowTimeoutMs) {
        QByteArray ids;
        desktop.Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--classname"), QStringLiteral("velmora")},
                        10000, &ids);
        for (const QByteArray &id : ids.split('\n')) {
            QByteArray caption;
            if (!id.trimmed().isEmpty() &&
                desktop.Xdotool(
                    {QStringLiteral("getwindowname"), QString::fromLatin1(id.trimmed())}, 10000,
                    &caption) &&
                QString::fromUtf8(caption).trimmed() == title)
                return QString::fromLatin1(id.trimmed());
        }
        QThread::msleep(100);
    }
    return {};
}

} // namespace

class MainTest : public QObject
{
    Q_OBJECT

private slots:
    void fileSizeLimitDoesNotEndTheProgram();
    void sizeLimitInARecordKeepsTheHistory();
    void languageOfTheDesktop_data();
    void languageOfTheDesktop();
};

void MainTest::fileSizeLimitDoesNotEndTheProgram()
{
    if (!QFile::exists(QStringLiteral("/proc/self/status")))
        QSKIP("needs /proc to see the program's signal handling");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    // Its history folder, made at the start, is kept out of the tester's own.
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    program.setProcessEnvironment(environment);
    program.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        limitFileSize(1024);
    });
    program.start(QStringLiteral(VELMORA_PROGRAM), {});
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));

    const quint64 fileSizeSignal = quint64(1) << (SIGXFSZ - 1);
    QTRY_VERIFY_WITH_TIMEOUT((ignoredSignals(program.processId()) & fileSizeSignal) != 0, 10000);
    // The signal as the kernel sends it on a write past the limit.
    QCOMPARE(::kill(pid_t(program.processId()), SIGXFSZ), 0);
    QVERIFY(!program.waitForFinished(500));
    QCOMPARE(program.state(), QProcess::Running);

    program.kill();
    QVERIFY(program.waitForFinished(5000));
}

// A whole test ends with its record cut off 40 bytes in by the limit: the
// history must keep its very bytes, and the person be told the test was
// not stored.
void MainTest::sizeLimitInARecordKeepsTheHistory()
{
    XDesktop desktop;
    if (const QString error = desktop.Start(); !error.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no private X desktop: ") + error));
    ProgramCopy copy{QStringLiteral(VELMORA_PROGRAM)};
    QVERIFY2(copy.Error().isEmpty(), qPrintable(copy.Error()));
    const QByteArray history = bytesOf(people(4));
    QVERIFY(put(copy.HistoryPath(), history));
    const QDateTime unchangedSince = QFileInfo(copy.HistoryPath()).lastModified();
    const auto limit = rlim_t(history.size() + 40);

    ProgramOnX program(desktop, copy);
    QVERIFY2(program.Start([limit] { limitFileSize(limit); }).isEmpty(), qPrintable(copy.Output()));
    QCOMPARE(program.BeginTest(QStringLiteral("Limited")), QString());
    // A key every 40 ms, past the test's five intervals of five seconds.
    QVERIFY(
        desktop.Xdotool({QStringLiteral("key"), QStringLiteral("--repeat"), QStringLiteral("700"),
                         QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("a")},
                        60000));
    // The only message a finished test brings is "Error. No data!" (its
    // words are checked in HistoryStoreTest; an X server does not tell a
    // box's text).
    const QString box = program.WaitForMessageBox(15000);
    QVERIFY2(!box.isEmpty(), "no message after the test");
    // The record was written and taken back: the same bytes, touched.
    QCOMPARE(copy.History(), history);
    QVERIFY(QFileInfo(copy.HistoryPath()).lastModified() > unchangedSince);
    QVERIFY(program.Answer(box));
    QVERIFY(copy.IsRunning());
}

void MainTest::languageOfTheDesktop_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("Russian desktop") << "LANG"
                                     << "ru_RU.UTF-8"
                                     << "Ввод";
    QTest::newRow("English desktop") << "LANG"
                                     << "en_US.UTF-8"
                                     << "Input";
    QTest::newRow("Russian before German") << "LANGUAGE"
                                           << "de:ru"
                                           << "Ввод";
    QTest::newRow("German only") << "LANGUAGE"
                                 << "de"
                                 << "Input";
}

void MainTest::languageOfTheDesktop()
{
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(QString, prompt);
    XDesktop desktop;
    if (const QString error = desktop.Start(); !error.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no private X desktop: ") + error));
    ProgramCopy copy{QStringLiteral(VELMORA_PROGRAM)};
    QVERIFY2(copy.Error().isEmpty(), qPrintable(copy.Error()));
    QProcessEnvironment environment = desktop.Environment();
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), copy.Folder());
    environment.insert(variable, value);
    QVERIFY(copy.Start(environment));
    const QString main = desktop.WaitForWindow(QStringLiteral("Velmora"));
    QVERIFY2(!main.isEmpty(), qPrintable(copy.Output()));
    QVERIFY(desktop.Focus(main));
    // "Start" has the focus; Space opens the name prompt under its caption.
    QVERIFY(desktop.Xdotool({QStringLiteral("key"), QStringLiteral("space")}));
    const QString input = waitForCaption(desktop, prompt);
    QVERIFY2(!input.isEmpty(), qPrintable(copy.Output()));
    QVERIFY(desktop.Focus(input));
    QVERIFY(desktop.Xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    QVERIFY(copy.IsRunning());
}

QTEST_GUILESS_MAIN(MainTest)
#include "MainTest.moc"

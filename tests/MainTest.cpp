// The program as it is started: run for real, without a display of its own
// (offscreen), under a file size limit, with SIGXFSZ at its default
// action. A write past such a limit sends that signal, whose default is to
// end the process at once, half a record written and nothing said; the
// program must take it as the failed write it is.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

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

} // namespace

class MainTest : public QObject
{
    Q_OBJECT

private slots:
    void fileSizeLimitDoesNotEndTheProgram();
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
    program.setProcessEnvironment(environment);
    program.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
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

QTEST_GUILESS_MAIN(MainTest)
#include "MainTest.moc"

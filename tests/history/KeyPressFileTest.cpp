// The companion file of key presses on real files: its name beside any
// history, its bytes, and the faults it must meet without ever touching the
// history or what was kept before. Each append runs in a child process, so
// a size limit or an ordinary user's rights bind it alone and an open that
// waited for ever would show.
#include "history/KeyPressFile.h"
#include "HistoryFolder.h"
#include "platform/files/FileMode.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HistoryFiles;

namespace {

const QByteArray Header = "record,date,time,interval,press,ms,key\r\n";
const QByteArray First = "1,2002-12-07,12:00:00,0,1,0,65\r\n";
const QByteArray Second = "2,2002-12-07,18:00:00,0,1,0,65\r\n2,2002-12-07,18:00:00,1,2,5012,65\r\n"
                          "2,2002-12-07,18:00:00,4,3,24999,32\r\n";
const KeyPresses Presses{{0, 1, 0, 65}, {1, 2, 5012, 65}, {4, 3, 24999, 32}};

mode_t statOf(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(qPrintable(path), &info) == 0 ? info.st_mode : 0;
}

} // namespace

class KeyPressFileTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void pathFor_data();
    void pathFor();
    void append_data();
    void append();
};

void KeyPressFileTest::pathFor_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("companion");
    QTest::newRow("default") << "/x/restest.dat" << QString("/x/restest.presses.csv");
    QTest::newRow("backup") << "/x/res/restest. 17" << QString("/x/res/restest. 17.presses.csv");
    QTest::newRow("capitals") << "/x/copy.DAT" << QString("/x/copy.presses.csv");
    QTest::newRow("no extension") << "/x/old" << QString("/x/old.presses.csv");
}

void KeyPressFileTest::pathFor()
{
    QFETCH(QString, history);
    QTEST(KeyPressFile::PathFor(history), "companion");
}

void KeyPressFileTest::append_data()
{
    // What is where the companion goes, and how the child that appends is
    // held back.
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QByteArray>("after"); // the companion's bytes; empty: as before
    QTest::newRow("new") << "missing" << Header + Second;
    QTest::newRow("empty") << "empty" << Header + Second;
    QTest::newRow("second test") << "one test" << Header + First + Second;
    QTest::newRow("a torn row is replaced") << "torn" << Header + First + Second;
    QTest::newRow("size limit inside the rows") << "one test, limit 40" << QByteArray();
    QTest::newRow("size limit, no byte added") << "one test, limit 0" << QByteArray();
    QTest::newRow("size limit over a torn row") << "torn, limit 20" << QByteArray();
    QTest::newRow("read-only folder") << "missing, read-only" << QByteArray();
    QTest::newRow("FIFO") << "fifo" << QByteArray();
    QTest::newRow("symbolic link") << "link" << QByteArray();
    QTest::newRow("folder") << "folder" << QByteArray();
}

void KeyPressFileTest::append()
{
    QFETCH(QString, setup);
    QFETCH(QByteArray, after);
    QVERIFY(Renew());
    const QString companion = In("restest.presses.csv");
    const QByteArray history = bytesOf(people(1));
    QVERIFY(Put("restest.dat", history) && Put("target.csv", "target"));
    const QByteArray kept = setup.startsWith("empty")      ? ""
                            : setup.startsWith("one test") ? Header + First
                            : setup.startsWith("torn")     ? Header + First + "2,2002-1"
                                                           : "<missing>";
    if (kept != "<missing>")
        QVERIFY(Put("restest.presses.csv", kept) && ::chmod(qPrintable(companion), 0604) == 0);
    QVERIFY(setup != "fifo" || ::mkfifo(qPrintable(companion), 0600) == 0);
    QVERIFY(setup != "link" || QFile::link(In("target.csv"), companion));
    QVERIFY(setup != "folder" || QDir(Folder()).mkdir("restest.presses.csv"));
    QVERIFY(!setup.endsWith("read-only") || ::chmod(qPrintable(Folder()), 0555) == 0);
    const mode_t before = statOf(companion);

    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10); // an open waiting for a FIFO's other end ends here
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(kept.size() + setup.section(" limit ", 1).toInt());
        if (setup.contains("limit") &&
            (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
            ::_exit(2);
        // Folder rights bind root not at all: the append runs as nobody.
        if (setup.endsWith("read-only") && ::geteuid() == 0 &&
            (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        const HistoryRecord record = HistoryFiles::record("Bo", Dec7, 0.75, 12, {40, 38, 36, 35});
        ::_exit(KeyPressFile::Append(DefaultHistory(), 2, record, Presses) ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::chmod(qPrintable(Folder()), 0700);
    QVERIFY2(WIFEXITED(status), "the append did not end");
    QCOMPARE(WEXITSTATUS(status), after.isEmpty() ? 1 : 0);
    QCOMPARE(Contents("restest.dat") + Contents("target.csv"), history + "target");
    const mode_t mode = statOf(companion);
    QCOMPARE(mode, before != 0 || after.isEmpty() ? before : (S_IFREG | FileMode::ForNewFile()));
    if (S_ISREG(mode) || mode == 0)
        QCOMPARE(Contents("restest.presses.csv"), after.isEmpty() ? kept : after);
}

QTEST_GUILESS_MAIN(KeyPressFileTest)
#include "KeyPressFileTest.moc"

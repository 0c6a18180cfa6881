// What the program does when the machine works against it: a full disk, a
// folder or file it may not write or read, a folder where the history file
// should be, a FIFO where a file should be, another name for a file through
// a bind mount, paths far from the usual. Each case runs in a child process
// under the constraint (a file size limit standing in for a full disk, or
// an ordinary user's rights where the suite runs as root) and reports the
// messages it showed; every file already stored must be left exactly as
// it was, and the person must see the program's own message.
#include "HistoryFolder.h"
#include "history/HistoryExport.h"
#include "history/HistoryFileOperations.h"
#include "history/HistoryList.h"
#include "history/HistoryStore.h"

#include <QDirIterator>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HistoryFiles;

namespace {

constexpr int CannotMount = 4;

// BindMount: the program's folder is also reached through a bind mount,
// which a chosen file name starting with "@" goes through.
enum class Constraint { None, DiskFull, OrdinaryUser, OrdinaryUserDiskFull, BindMount };
enum class Action { Append, List, SaveAs, Export, ExportCsv };

// Every file below a folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return files;
}

} // namespace

class HistoryFaultTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QVERIFY(Renew()); }
    void fault_data();
    void fault();
};

void HistoryFaultTest::fault_data()
{
    QTest::addColumn<Constraint>("constraint");
    QTest::addColumn<Action>("action");
    // The history file, relative to a fresh folder ("-" for the folder
    // itself), and the file the dialog is answered with.
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("messages");
    // Files that the action is to add, and files it is to replace with a
    // copy of the history; everything else stays as it was.
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("replaced");

    const QString odd = QStringLiteral("a folder with blanks/中文 Ωμέγα ‰ names/") +
                        QString(180, QLatin1Char('x')) + QLatin1Char('/') +
                        QString(180, QLatin1Char('y')) + QLatin1Char('/');
    const QStringList noData{QStringLiteral("Error. No data!")};
    const QStringList fileData{QStringLiteral("Error file data! Clear data.")};
    const QStringList notSaved{QStringLiteral("Permission denied. Data not saved!")};
    QTest::newRow("append, disk full") << Constraint::DiskFull << Action::Append << "restest.dat"
                                       << "" << noData << QStringList() << QStringList();
    QTest::newRow("save as over an old copy, disk full")
        << Constraint::DiskFull << Action::SaveAs << "restest.dat"
        << "copy.dat" << notSaved << QStringList() << QStringList();
    QTest::newRow("append, folder not writable")
        << Constraint::OrdinaryUser << Action::Append << "new/restest.dat"
        << "" << noData << QStringList() << QStringList();
    QTest::newRow("append, history not writable")
        << Constraint::OrdinaryUser << Action::Append << "restest.dat"
        << "" << noData << QStringList() << QStringList();
    QTest::newRow("list, history unreadable")
        << Constraint::OrdinaryUser << Action::List << "secret.dat"
        << "" << fileData << QStringList() << QStringList();
    QTest::newRow("append, a folder for the history")
        << Constraint::None << Action::Append << "-"
        << "" << noData << QStringList() << QStringList();
    QTest::newRow("list, a folder for the history")
        << Constraint::None << Action::List << "-"
        << "" << fileData << QStringList() << QStringList();
    QTest::newRow("save as, long path with blanks and other scripts")
        << Constraint::None << Action::SaveAs << "restest.dat" << odd + QStringLiteral("copy")
        << QStringList{QStringLiteral("Data saved!")} << QStringList{odd + "copy.DAT"}
        << QStringList();
    QTest::newRow("export, long path with blanks and other scripts")
        << Constraint::None << Action::Export << "restest.dat" << odd + QStringLiteral("table")
        << QStringList{QStringLiteral("File saved!")} << QStringList{odd + "table.TXT"}
        << QStringList();

    // A folder that takes no new file, holding a copy the user may write:
    // the copy is written in place, or, when the disk fills up on the way,
    // given back its old bytes.
    QTest::newRow("save as over a writable copy in a folder not writable")
        << Constraint::OrdinaryUser << Action::SaveAs << "restest.dat"
        << "locked/copy.dat" << QStringList{QStringLiteral("Data saved!")} << QStringList()
        << QStringList{"locked/copy.dat"};
    QTest::newRow("save as over a writable copy in a folder not writable, disk full")
        << Constraint::OrdinaryUserDiskFull << Action::SaveAs << "restest.dat"
        << "locked/copy.dat" << notSaved << QStringList() << QStringList();
    // Nothing waits for the other end of a FIFO, which may never come.
    QTest::newRow("save as onto a FIFO")
        << Constraint::None << Action::SaveAs << "restest.dat"
        << "pipe.dat" << notSaved << QStringList() << QStringList();
    QTest::newRow("save as of a FIFO named as the history")
        << Constraint::None << Action::SaveAs << "pipe.dat"
        << "copy2.dat" << notSaved << QStringList() << QStringList();
    QTest::newRow("export onto a FIFO")
        << Constraint::None << Action::Export << "restest.dat"
        << "pipe.txt" << QStringList() << QStringList() << QStringList();
    // Another name for the same file: compared by what it is, not its path.
    QTest::newRow("export onto the history through a bind mount")
        << Constraint::BindMount << Action::Export << "restest.dat"
        << "@restest.dat" << QStringList() << QStringList() << QStringList();
    QTest::newRow("save as onto the default through a bind mount, another one viewed")
        << Constraint::BindMount << Action::SaveAs << "copy.dat"
        << "@restest.dat" << notSaved << QStringList() << QStringList();
    QTest::newRow("export onto a FIFO being read")
        << Constraint::None << Action::Export << "restest.dat"
        << "pipe.txt, read" << QStringList() << QStringList() << QStringList();

    // A CSV replaces its file: a failure on the way leaves the old one
    // whole, and the same files are refused as for the table. Unlike the
    // table, it says why.
    const QStringList diskFull{
        QStringLiteral("The disk is full or cannot be written. Data not saved!")};
    QTest::newRow("CSV over an old one, disk full")
        << Constraint::DiskFull << Action::ExportCsv << "restest.dat"
        << "table.csv" << diskFull << QStringList() << QStringList();
    QTest::newRow("CSV over a writable file in a folder not writable, disk full")
        << Constraint::OrdinaryUserDiskFull << Action::ExportCsv << "restest.dat"
        << "locked/copy.dat" << diskFull << QStringList() << QStringList();
    QTest::newRow("CSV onto a FIFO being read")
        << Constraint::None << Action::ExportCsv << "restest.dat"
        << "pipe.txt, read" << notSaved << QStringList() << QStringList();
    QTest::newRow("CSV onto the history through a bind mount")
        << Constraint::BindMount << Action::ExportCsv << "restest.dat"
        << "@restest.dat" << notSaved << QStringList() << QStringList();
}

void HistoryFaultTest::fault()
{
    QFETCH(Constraint, constraint);
    QFETCH(Action, action);
    QFETCH(QString, history);
    QFETCH(QString, chosen);
    QFETCH(QStringList, added);
    QFETCH(QStringList, replaced);
    const bool ordinaryUser =
        constraint == Constraint::OrdinaryUser || constraint == Constraint::OrdinaryUserDiskFull;
    const bool diskFull =
        constraint == Constraint::DiskFull || constraint == Constraint::OrdinaryUserDiskFull;
    if (ordinaryUser && ::geteuid() != 0)
        QSKIP("needs root to run a step as an ordinary user");
    if (constraint == Constraint::BindMount && ::geteuid() != 0)
        QSKIP("needs root to bind-mount a folder");
    const bool readPipe = chosen.endsWith(QLatin1String(", read"));
    chosen.remove(QLatin1String(", read"));

    QTemporaryDir bound; // the mount point
    QVERIFY(bound.isValid());
    // Readable by all, as a program's folder is, but written by root alone.
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther;
    QVERIFY(Put("restest.dat", bytesOf(people(50))) && Put("copy.dat", "an older copy") &&
            Put("table.csv", "an older table") && Put("secret.dat", bytesOf(people(3))) &&
            Put("locked/copy.dat", "an older copy") && QDir().mkpath(In("new")));
    QVERIFY(QFile::setPermissions(Folder(), open) && QFile::setPermissions(In("new"), open) &&
            QFile::setPermissions(In("locked"), open));
    QVERIFY(QFile::setPermissions(In("restest.dat"),
                                  open & ~QFile::ExeOwner & ~QFile::ExeGroup & ~QFile::ExeOther));
    QVERIFY(QFile::setPermissions(In("secret.dat"), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(
        QFile::setPermissions(In("locked/copy.dat"), open | QFile::WriteGroup | QFile::WriteOther));
    for (const char *fifo : {"pipe.dat", "pipe.txt"})
        QCOMPARE(::mkfifo(qPrintable(In(fifo)), 0666), 0);
    // A reader that never reads: a writer could open the FIFO and fill it.
    const int reader =
        readPipe ? ::open(qPrintable(In("pipe.txt")), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    QMap<QString, QByteArray> before = snapshot(Folder());

    int pipeEnds[2];
    QCOMPARE(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (diskFull) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (ordinaryUser && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        // In a mount namespace of its own, so the mount ends with the child.
        if (constraint == Constraint::BindMount &&
            (::unshare(CLONE_NEWNS) != 0 ||
             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount(qPrintable(Folder()), qPrintable(bound.path()), nullptr, MS_BIND, nullptr) !=
                 0))
            ::_exit(CannotMount);
        const QString path = history == QLatin1String("-") ? Folder() : In(history);
        // The CSV is the export dialog's second choice.
        const int entry = action == Action::ExportCsv ? 2 : 0;
        if (chosen.startsWith(QLatin1Char('@'))) {
            m_dialogs.QueueFile(bound.filePath(chosen.mid(1)), entry);
        } else if (!chosen.isEmpty()) {
            QDir().mkpath(QFileInfo(In(chosen)).absolutePath());
            m_dialogs.QueueFile(In(chosen), entry);
        }
        HistoryRecord record;
        switch (action) {
        case Action::Append:
            HistoryStore::Append(path, record, {5, 40, 38, 36, 35});
            break;
        case Action::List:
            HistoryList::ListHistory(path, [](const QString &) {});
            break;
        case Action::SaveAs:
            HistoryFileOperations::SaveDataAs(m_dlog, path, DefaultHistory());
            break;
        case Action::Export:
        case Action::ExportCsv:
            HistoryExport::Export(m_dlog, path, DefaultHistory());
            break;
        }
        const QByteArray said = m_dialogs.MessageTexts().join(QLatin1Char('\n')).toUtf8();
        const bool written =
            ::write(pipeEnds[1], said.constData(), size_t(said.size())) == said.size();
        ::_exit(written ? 0 : 3);
    }
    ::close(pipeEnds[1]);
    // A step that blocks (in the open of a FIFO, say) is stopped and fails.
    QByteArray said;
    char buffer[4096];
    bool blocked = false;
    for (ssize_t got = 1; got > 0;) {
        pollfd ready{pipeEnds[0], POLLIN, 0};
        if (::poll(&ready, 1, 20000) != 1) {
            blocked = true;
            ::kill(child, SIGKILL);
            break;
        }
        got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0)
            said.append(buffer, got);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(!blocked, "the step did not end");
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == CannotMount)
        QSKIP("bind mounts are not allowed here");
    QCOMPARE(WEXITSTATUS(status), 0);

    const QStringList messages =
        said.isEmpty() ? QStringList() : QString::fromUtf8(said).split(QLatin1Char('\n'));
    QTEST(messages, "messages");
    QMap<QString, QByteArray> after = snapshot(Folder());
    for (const QString &name : added)
        QVERIFY2(after.remove(In(name)) == 1, qPrintable(name));
    for (const QString &name : replaced) {
        QCOMPARE(after.take(In(name)), before.value(In(history)));
        before.remove(In(name));
    }
    QCOMPARE(after, before);
    // The FIFOs are still FIFOs, and nothing was written into one.
    for (const char *fifo : {"pipe.dat", "pipe.txt"}) {
        struct stat info
        {
        };
        QVERIFY(::lstat(qPrintable(In(fifo)), &info) == 0 && S_ISFIFO(info.st_mode));
    }
    if (reader >= 0) {
        QVERIFY(::read(reader, buffer, sizeof buffer) <= 0);
        ::close(reader);
    }
}

QTEST_GUILESS_MAIN(HistoryFaultTest)
#include "HistoryFaultTest.moc"

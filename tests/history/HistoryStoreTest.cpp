#include "history/HistoryStore.h"
#include "FakeClock.h"
#include "HistoryFolder.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HistoryFiles;

namespace {

constexpr qint64 Missing = -1;

// A history file of the given length: a recognisable byte pattern, or a
// sparse file of zeros for the very large ones.
void makeFile(const QString &path, qint64 size)
{
    if (size == Missing)
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (size > 100000) {
        QVERIFY(file.resize(size));
        return;
    }
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char('A' + i % 26);
    QCOMPARE(file.write(bytes), size);
}

} // namespace

class HistoryStoreTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void append_data();
    void append();
    void appendWhereNothingCanBeWritten();
    void failedWriteLeavesFileAsItWas_data();
    void failedWriteLeavesFileAsItWas();
    void enumerate_data();
    void enumerate();
    void enumerateStopsWhenUseFails();
    void enumerateLimit_data();
    void enumerateLimit();
    void twoProgramsAppendAtOnce();
    void unreadableHistoryFails_data();
    void unreadableHistoryFails();

private:
    FakeClock m_clock;
};

void HistoryStoreTest::init()
{
    QVERIFY(Renew());
    Platform::SetClock(&m_clock);
}

void HistoryStoreTest::cleanup()
{
    Platform::SetClock(nullptr);
}

void HistoryStoreTest::append_data()
{
    QTest::addColumn<qint64>("initialSize");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<qint64>("finalSize");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QByteArray>("storedName");
    QTest::addColumn<int>("cmf");

    const QList<int> run{55, 40, 38, 36, 35};
    QTest::newRow("first test creates the file") << Missing << "Ann" << run << true << 80LL << 0LL
                                                 << QByteArray("Ann                 ") << 12;
    QTest::newRow("blank name becomes No name") << Missing << "     " << run << true << 80LL << 0LL
                                                << QByteArray("No name             ") << 12;
    QTest::newRow("long name is cut") << Missing << "ABCDEFGHIJKLMNOPQRSTUVWXY" << run << true
                                      << 80LL << 0LL << QByteArray("ABCDEFGHIJKLMNOPQRST") << 12;
    QTest::newRow("rise stores -1") << Missing << "Ann" << QList<int>{0, 10, 10, 10, 20} << true
                                    << 80LL << 0LL << QByteArray("Ann                 ") << -1;
    QTest::newRow("after two records") << 160LL << "Bo" << run << true << 240LL << 160LL
                                       << QByteArray("Bo                  ") << 12;
    // A torn last record is replaced by the new one, never counted as a
    // record of its own.
    QTest::newRow("1.5 records: goes in as record 2, over the torn one")
        << 120LL << "Bo" << run << true << 160LL << 80LL << QByteArray("Bo                  ")
        << 12;
    QTest::newRow("1.25 records: goes in as record 2")
        << 100LL << "Bo" << run << true << 160LL << 80LL << QByteArray("Bo                  ")
        << 12;
    QTest::newRow("3.5 records: goes in as record 4")
        << 280LL << "Bo" << run << true << 320LL << 240LL << QByteArray("Bo                  ")
        << 12;
    QTest::newRow("32766 records: the last one fits")
        << 32766LL * 80 << "Bo" << run << true << 32767LL * 80 << 32766LL * 80
        << QByteArray("Bo                  ") << 12;
    QTest::newRow("c1 0 leaves an empty file") << Missing << "Ann" << QList<int>{9, 0, 1, 1, 1}
                                               << false << 0LL << 0LL << QByteArray() << 0;
    QTest::newRow("c1 0 keeps the old length") << 160LL << "Ann" << QList<int>{9, 0, 1, 1, 1}
                                               << false << 160LL << 0LL << QByteArray() << 0;
    QTest::newRow("32767 records: full")
        << 32767LL * 80 << "Ann" << run << false << 32767LL * 80 << 0LL << QByteArray() << 0;
    QTest::newRow("32767.5 records: full") << 32767LL * 80 + 40 << "Ann" << run << false
                                           << 32767LL * 80 + 40 << 0LL << QByteArray() << 0;
}

void HistoryStoreTest::append()
{
    QFETCH(qint64, initialSize);
    QFETCH(QString, name);
    QFETCH(QList<int>, counts);
    QFETCH(bool, stored);
    QFETCH(qint64, finalSize);

    makeFile(DefaultHistory(), initialSize);
    const QByteArray before = initialSize < 100000 ? Contents("restest.dat") : QByteArray();
    HistoryRecord completed;
    completed.SetName(name);
    completed.RecCMF = 77;
    IntervalCounts run;
    for (std::size_t i = 0; i < run.size(); ++i)
        run[i] = std::int16_t(counts[int(i)]);
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0, 600));

    const std::optional<qint64> recNo = HistoryStore::Append(DefaultHistory(), completed, run);

    QCOMPARE(QFileInfo(DefaultHistory()).size(), finalSize);
    QVERIFY(QFileInfo::exists(DefaultHistory()));
    if (!stored) {
        QVERIFY(!recNo);
        QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
        if (counts[1] == 0)
            QCOMPARE(completed.RecCMF, std::int16_t(77));
        if (initialSize < 100000)
            QCOMPARE(Contents("restest.dat"), initialSize == Missing ? QByteArray("") : before);
        return;
    }
    QVERIFY(m_dialogs.Log().isEmpty());
    QFETCH(qint64, offset);
    QCOMPARE(recNo, std::optional<qint64>(offset / 80 + 1));
    QFile file(DefaultHistory());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.seek(offset));
    const QByteArray bytes = file.read(80);
    QTEST(bytes.left(20), "storedName");
    const auto record = HistoryRecord::Decode(bytes.constData(), bytes.size());
    QVERIFY(record);
    QCOMPARE(record->RecDate, 37597.0);
    QCOMPARE(record->RecTime, 52200.0 / 86400.0);
    QTEST(int(record->RecCMF), "cmf");
    QCOMPARE(record->RecCounts,
             (std::array<std::int16_t, 4>{std::int16_t(counts[1]), std::int16_t(counts[2]),
                                          std::int16_t(counts[3]), std::int16_t(counts[4])}));
    QCOMPARE(*record, completed);
    if (initialSize < 100000) {
        // What was there before the new record is untouched, and a gap
        // left by a ragged end is zero.
        const QByteArray after = Contents("restest.dat");
        const qint64 kept = qMin(initialSize, offset);
        QCOMPARE(after.left(kept), before.left(kept));
        if (initialSize > 0 && initialSize < offset)
            QCOMPARE(after.mid(initialSize, offset - initialSize),
                     QByteArray(offset - initialSize, '\0'));
    }
}

void HistoryStoreTest::appendWhereNothingCanBeWritten()
{
    // A path below a regular file cannot be created, even by root.
    makeFile(In("plain"), 10);
    HistoryRecord record;
    QVERIFY(!HistoryStore::Append(In("plain/restest.dat"), record, {5, 40, 40, 40, 40}));
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
    QCOMPARE(QFileInfo(In("plain")).size(), 10);

    if (::geteuid() == 0)
        return; // permissions do not bind root
    QDir(Folder()).mkdir(QStringLiteral("locked"));
    const QString locked = In("locked");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    HistoryStore::Append(locked + QStringLiteral("/restest.dat"), record, {5, 40, 40, 40, 40});
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(m_dialogs.MessageTexts().size(), 2);
    QVERIFY(QDir(locked).isEmpty());
}

void HistoryStoreTest::failedWriteLeavesFileAsItWas_data()
{
    QTest::addColumn<qint64>("initialSize");
    QTest::addColumn<qint64>("sizeLimit");
    QTest::newRow("write cut short after 40 bytes") << 160LL << 200LL;
    QTest::newRow("no byte can be added") << 160LL << 160LL;
    QTest::newRow("ragged end partly overwritten") << 100LL << 120LL;
}

// The disk fills up (here: the file size limit) in the middle of the
// write. The file must be exactly what it was, and the user told so.
void HistoryStoreTest::failedWriteLeavesFileAsItWas()
{
    QFETCH(qint64, initialSize);
    QFETCH(qint64, sizeLimit);
    makeFile(DefaultHistory(), initialSize);
    const QByteArray before = Contents("restest.dat");
    HistoryRecord record;

    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = rlim_t(sizeLimit);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto recNo = HistoryStore::Append(DefaultHistory(), record, {5, 40, 40, 40, 40});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!recNo);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
    QCOMPARE(Contents("restest.dat"), before);
}

void HistoryStoreTest::enumerate_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<qint64>("extraBytes");
    QTest::addColumn<bool>("missing");
    QTest::newRow("missing file is created empty") << 0 << 0LL << true;
    QTest::newRow("empty file") << 0 << 0LL << false;
    QTest::newRow("three records") << 3 << 0LL << false;
    QTest::newRow("two and a half records") << 2 << 40LL << false;
    QTest::newRow("a tail of 79 bytes") << 1 << 79LL << false;
}

void HistoryStoreTest::enumerate()
{
    QFETCH(int, records);
    QFETCH(qint64, extraBytes);
    QFETCH(bool, missing);
    const QList<HistoryRecord> written = people(records);
    if (!missing)
        QVERIFY(Put("restest.dat", bytesOf(written) + QByteArray(extraBytes, 'x')));

    QList<HistoryRecord> seen;
    QVERIFY(HistoryStore::ReadRecords(DefaultHistory(), [&](const HistoryRecord &record) {
        seen.append(record);
        return true;
    }));
    QCOMPARE(seen, written);
    QVERIFY(QFileInfo::exists(DefaultHistory()));
}

void HistoryStoreTest::enumerateStopsWhenUseFails()
{
    QVERIFY(Put("restest.dat", bytesOf(people(3))));
    QStringList seen;
    QVERIFY(!HistoryStore::ReadRecords(DefaultHistory(), [&](const HistoryRecord &record) {
        seen << record.RecName.trimmed();
        return seen.size() < 2;
    }));
    QCOMPARE(seen, (QStringList{"Person 1", "Person 2"}));
}

void HistoryStoreTest::enumerateLimit_data()
{
    QTest::addColumn<qint64>("records");
    QTest::addColumn<bool>("ok");
    QTest::newRow("32767 records are all read") << 32767LL << true;
    QTest::newRow("record 32768 overflows") << 32768LL << false;
}

void HistoryStoreTest::enumerateLimit()
{
    QFETCH(qint64, records);
    makeFile(DefaultHistory(), records * 80);
    qint64 calls = 0;
    const bool ok = HistoryStore::ReadRecords(DefaultHistory(), [&](const HistoryRecord &) {
        ++calls;
        return true;
    });
    QTEST(ok, "ok");
    QCOMPARE(calls, qMin(records, 32767LL));
}

// Two copies of the program finish tests at the same moments, over and
// over, into one history file: every record of both must be there, whole,
// each writer's in its own order.
void HistoryStoreTest::twoProgramsAppendAtOnce()
{
    constexpr int PerWriter = 200;
    int go[2];
    QCOMPARE(::pipe(go), 0);
    QList<pid_t> writers;
    for (const char tag : {'A', 'B'}) {
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            ::close(go[1]);
            char ready = 0;
            const bool started = ::read(go[0], &ready, 1) == 0; // both wait for the close
            for (int i = 0; started && i < PerWriter; ++i) {
                HistoryRecord record;
                record.SetName(QStringLiteral("%1%2").arg(tag).arg(i, 3, 10, QLatin1Char('0')));
                HistoryStore::Append(DefaultHistory(), record, {5, 40, 38, 36, 35});
            }
            ::_exit(started && m_dialogs.Log().isEmpty() ? 0 : 1);
        }
        writers << pid;
    }
    ::close(go[0]);
    ::close(go[1]);
    for (const pid_t pid : writers) {
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    const QByteArray all = Contents("restest.dat");
    QCOMPARE(all.size(), qsizetype(2 * PerWriter * HistoryRecord::RecordLength));
    QMap<char, int> next{{'A', 0}, {'B', 0}};
    for (qsizetype at = 0; at < all.size(); at += HistoryRecord::RecordLength) {
        const auto record =
            HistoryRecord::Decode(all.constData() + at, HistoryRecord::RecordLength);
        QVERIFY(record);
        const char tag = record->RecName.at(0).toLatin1();
        QVERIFY2(next.contains(tag), qPrintable(record->RecName));
        QCOMPARE(record->RecName.mid(1, 3).toInt(), next[tag]++);
        QCOMPARE(record->RecCounts, (std::array<std::int16_t, 4>{40, 38, 36, 35}));
    }
    QCOMPARE(next['A'], PerWriter);
    QCOMPARE(next['B'], PerWriter);
}

// Whatever is named as the history file, a walk that cannot read it to the
// end fails instead of passing for a complete, shorter history.
void HistoryStoreTest::unreadableHistoryFails_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a pipe") << "pipe";
    QTest::newRow("a directory") << "directory";
    QTest::newRow("reads fail with an I/O error") << "io error";
}

void HistoryStoreTest::unreadableHistoryFails()
{
    QFETCH(QString, kind);
    QString path = DefaultHistory();
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(Folder()).mkdir(QStringLiteral("restest.dat")));
    } else {
        // The first page of a process's own memory is never mapped, so
        // reading it from the start fails with EIO.
        if (!QFileInfo::exists(QStringLiteral("/proc/self/mem")))
            QSKIP("no /proc/self/mem here");
        path = QStringLiteral("/proc/self/mem");
    }
    int calls = 0;
    QVERIFY(!HistoryStore::ReadRecords(path, [&](const HistoryRecord &) { return ++calls > 0; }));
    QCOMPARE(calls, 0);
}

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "HistoryStoreTest.moc"

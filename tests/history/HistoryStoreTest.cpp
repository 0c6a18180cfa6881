#include "history/HistoryStore.h"
#include "FakeClock.h"
#include "FreshSession.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "record/OleDate.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HistoryRecord recordNamed(const QString &name, std::int16_t c1)
{
    HistoryRecord record;
    record.SetName(name);
    record.RecCounts = {c1, 2, 3, 4};
    return record;
}

void writeRecords(const QString &path, const QList<HistoryRecord> &records, qint64 extraBytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const auto &record : records)
        file.write(record.Encode());
    file.write(QByteArray(extraBytes, 'x'));
}

} // namespace

class HistoryStoreTest : public QObject
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
    QString path() const { return m_dir.filePath(QStringLiteral("restest.dat")); }

    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    FakeClock m_clock;
};

void HistoryStoreTest::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(path());
    ResetSession();
    Session().DataPath = path();
    m_dialogs.Clear();
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

    makeFile(path(), initialSize);
    const QByteArray before = initialSize < 100000 ? readAll(path()) : QByteArray();
    SessionState &session = Session();
    session.CurrentRecord.SetName(name);
    session.CurrentRecord.RecCMF = 77;
    for (int i = 0; i < 5; ++i)
        session.Counts[i] = std::int16_t(counts[i]);
    m_clock.Set(QDate(2002, 12, 7), QTime(14, 30, 0, 600));

    HistoryStore::AppendCurrentRecord(Session().CurrentRecord, Session().Counts);

    QCOMPARE(QFileInfo(path()).size(), finalSize);
    QVERIFY(QFileInfo::exists(path()));
    if (!stored) {
        QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
        if (counts[1] == 0)
            QCOMPARE(session.CurrentRecord.RecCMF, std::int16_t(77));
        if (initialSize < 100000)
            QCOMPARE(readAll(path()), before.isNull() ? QByteArray("") : before);
        return;
    }
    QVERIFY(m_dialogs.Log().isEmpty());
    QFETCH(qint64, offset);
    QFile file(path());
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
    QCOMPARE(*record, session.CurrentRecord);
    if (initialSize < 100000) {
        // What was there before the new record is untouched, and a gap
        // left by a ragged end is zero.
        const QByteArray after = readAll(path());
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
    makeFile(m_dir.filePath(QStringLiteral("plain")), 10);
    Session().DataPath = m_dir.filePath(QStringLiteral("plain/restest.dat"));
    Session().Counts = {5, 40, 40, 40, 40};
    HistoryStore::AppendCurrentRecord(Session().CurrentRecord, Session().Counts);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
    QCOMPARE(QFileInfo(m_dir.filePath(QStringLiteral("plain"))).size(), 10);

    if (::geteuid() == 0)
        return; // permissions do not bind root
    QDir(m_dir.path()).mkdir(QStringLiteral("locked"));
    const QString locked = m_dir.filePath(QStringLiteral("locked"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    Session().DataPath = locked + QStringLiteral("/restest.dat");
    HistoryStore::AppendCurrentRecord(Session().CurrentRecord, Session().Counts);
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
    makeFile(path(), initialSize);
    const QByteArray before = readAll(path());
    Session().Counts = {5, 40, 40, 40, 40};

    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = rlim_t(sizeLimit);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    HistoryStore::AppendCurrentRecord(Session().CurrentRecord, Session().Counts);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"Error. No data!"});
    QCOMPARE(readAll(path()), before);
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
    QList<HistoryRecord> written;
    for (int i = 0; i < records; ++i)
        written.append(recordNamed(QStringLiteral("Person %1").arg(i + 1), std::int16_t(30 + i)));
    if (!missing)
        writeRecords(path(), written, extraBytes);

    QList<HistoryRecord> seen;
    QList<int> recNos;
    const bool ok = HistoryStore::EnumerateRecords([&](HistoryRecord &record) {
        seen.append(record);
        recNos.append(Session().RecNo);
        return &record == &Session().CurrentRecord;
    });
    QVERIFY(ok);
    QCOMPARE(seen, written);
    QCOMPARE(recNos.size(), records);
    for (int i = 0; i < recNos.size(); ++i)
        QCOMPARE(recNos[i], i + 1);
    QCOMPARE(Session().RecNo, std::int16_t(1));
    QVERIFY(QFileInfo::exists(path()));
    if (records > 0)
        QCOMPARE(Session().CurrentRecord, written.last());
}

void HistoryStoreTest::enumerateStopsWhenUseFails()
{
    writeRecords(path(), {recordNamed("A", 1), recordNamed("B", 2), recordNamed("C", 3)}, 0);
    int calls = 0;
    QVERIFY(!HistoryStore::EnumerateRecords([&](HistoryRecord &) { return ++calls < 2; }));
    QCOMPARE(calls, 2);
    QCOMPARE(Session().RecNo, std::int16_t(1));
    QCOMPARE(Session().CurrentRecord.RecName.trimmed(), QStringLiteral("B"));
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
    makeFile(path(), records * 80);
    qint64 calls = 0;
    const bool ok = HistoryStore::EnumerateRecords([&](HistoryRecord &) {
        ++calls;
        return true;
    });
    QTEST(ok, "ok");
    QCOMPARE(calls, qMin(records, 32767LL));
    QCOMPARE(Session().RecNo, std::int16_t(1));
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
            SessionState &session = Session();
            session.Counts = {5, 40, 38, 36, 35};
            for (int i = 0; started && i < PerWriter; ++i) {
                session.CurrentRecord.SetName(
                    QStringLiteral("%1%2").arg(tag).arg(i, 3, 10, QLatin1Char('0')));
                HistoryStore::AppendCurrentRecord(Session().CurrentRecord, Session().Counts);
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

    const QByteArray all = readAll(path());
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
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("restest.dat")));
    } else {
        // The first page of a process's own memory is never mapped, so
        // reading it from the start fails with EIO.
        if (!QFileInfo::exists(QStringLiteral("/proc/self/mem")))
            QSKIP("no /proc/self/mem here");
        Session().DataPath = QStringLiteral("/proc/self/mem");
    }
    int calls = 0;
    QVERIFY(!HistoryStore::EnumerateRecords([&](HistoryRecord &) { return ++calls > 0; }));
    QCOMPARE(calls, 0);
    QCOMPARE(Session().RecNo, std::int16_t(1));
    QFile::remove(path());
    QDir(m_dir.path()).rmdir(QStringLiteral("restest.dat"));
}

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "HistoryStoreTest.moc"

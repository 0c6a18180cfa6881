// The history as a table: the exported file byte for byte and the printed
// text character for character, from real records in a real file.
#include "history/HistoryExport.h"
#include "history/PrintedHistory.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "session/SessionState.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

HistoryRecord record(const QString &name, double date, double time, std::int16_t cmf,
                     std::array<std::int16_t, 4> counts)
{
    HistoryRecord r;
    r.SetName(name);
    r.RecDate = date;
    r.RecTime = time;
    r.RecCMF = cmf;
    r.RecCounts = counts;
    return r;
}

constexpr double Dec7 = 37597.0;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class HistoryExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void table_data();
    void table();
    void cancelledExportChangesNothing();
    void fullDiskKeepsOldContent();

private:
    QString In(const QString &name) const { return m_dir.filePath(name); }
    void Write(const QList<HistoryRecord> &records);

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    CommonDialog m_dlog;
};

void HistoryExportTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void HistoryExportTest::init()
{
    for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
        QFile::remove(In(name));
    ResetSession();
    Session().DataPath = In("restest.dat");
    m_dialogs.Clear();
    Platform::SetDialogs(&m_dialogs);
}

void HistoryExportTest::cleanup()
{
    Platform::SetDialogs(nullptr);
}

void HistoryExportTest::Write(const QList<HistoryRecord> &records)
{
    QFile file(In("restest.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const HistoryRecord &r : records)
        file.write(r.Encode());
}

void HistoryExportTest::table_data()
{
    QTest::addColumn<QList<HistoryRecord>>("records");
    QTest::addColumn<QByteArray>("exported");
    QTest::addColumn<QString>("printed");
    const QByteArray header =
        "   Recording             Date        Time      CMF     Results  Validation\r\n";
    QTest::newRow("CMF 10 and 11, a Cyrillic name")
        << QList<HistoryRecord>{record("Petrov", Dec7, 0.6041666666666666, 10, {30, 30, 30, 27}),
                                record("Юля", Dec7 + 1, 0.25, 11, {40, 38, 36, 35})}
        << header +
               "Petrov               * 07.12.2002 * 14:30:00     *  10  *   Normal * Reliable\r\n"
               "\xDE\xEB\xFF                  * 08.12.2002 * 06:00:00     *  11  * Abnormal * "
               "Reliable\r\n\r\n"
        << "\t\t\tPetrov              \t\t\t07.12.2002\t14:30:00    \t10 \t  "
           "Normal\t\t\tReliable\r\n"
           "\t\t\tЮля                 \t\t\t08.12.2002\t06:00:00    \t11 "
           "\tAbnormal\t\tReliable\r\n";
    QTest::newRow("stored 130: exported capped, printed as stored")
        << QList<HistoryRecord>{record("Sidorov", Dec7, 0.5, 130, {40, 30, 20, 0})}
        << header + "Sidorov              * 07.12.2002 * 12:00:00     *  100 * Abnormal * "
                    "Reliable\r\n\r\n"
        << "\t\t\tSidorov             \t\t\t07.12.2002\t12:00:00    "
           "\t130\tAbnormal\t\tReliable\r\n";
    QTest::newRow("empty history") << QList<HistoryRecord>{} << header + "\r\n"
                                   << "";
}

void HistoryExportTest::table()
{
    QFETCH(QList<HistoryRecord>, records);
    QFETCH(QByteArray, exported);
    QFETCH(QString, printed);
    Write(records);

    // A name typed without extension gets the default one.
    m_dialogs.QueueFile(In("table"));
    HistoryExport::Export(m_dlog);
    const Dialogs::FileRequest request{
        Dialogs::FileRequest::Kind::Save, "*.txt | *.txt", "TXT", "Default.txt", 1, 0};
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"File saved!"});
    QCOMPARE(contents(In("table.TXT")), exported);
    QCOMPARE(Session().RecNo, std::int16_t(1));
    QVERIFY(Session().ExportText.isEmpty());

    // Again into the same file: the table follows the old content; into a
    // new one: the history once, as the first time.
    m_dialogs.QueueFile(In("table.TXT"));
    m_dialogs.QueueFile(In("again.txt"));
    HistoryExport::Export(m_dlog);
    HistoryExport::Export(m_dlog);
    QCOMPARE(contents(In("table.TXT")), exported + exported);
    QCOMPARE(contents(In("again.txt")), exported);

    const QString leading =
        "\n\n\n\n\n\t\t\tRecording\t\t\tDate\t\tTime\t\tCMF\tResults\t\t\tReliability"
        "\r\n\n\r\n";
    QCOMPARE(PrintedHistory::Build(), std::optional<QString>(leading + printed));
    QCOMPARE(Session().RecNo, std::int16_t(1));
}

void HistoryExportTest::cancelledExportChangesNothing()
{
    Write({record("Petrov", Dec7, 0.5, 10, {30, 30, 30, 27})});
    m_dialogs.QueueFile(std::nullopt);
    HistoryExport::Export(m_dlog);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
    QVERIFY(Session().ExportText.isEmpty());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"restest.dat"});
}

// The disk fills up (here: the file size limit of a child process) while
// the table is written: the export file keeps exactly its old content and
// the user is not told it was saved.
void HistoryExportTest::fullDiskKeepsOldContent()
{
    QList<HistoryRecord> records;
    for (int i = 0; i < 50; ++i)
        records.append(record(QString("Person %1").arg(i), Dec7, 0.5, 12, {40, 38, 36, 35}));
    Write(records);
    const QByteArray old = "an earlier table\r\n";
    QFile file(In("out.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(old.size() + 500);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_dialogs.QueueFile(In("out.txt"));
        HistoryExport::Export(m_dlog);
        const bool silent = m_dialogs.MessageTexts().isEmpty();
        ::_exit(silent && Session().ExportText.isEmpty() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(contents(In("out.txt")), old);
}

QTEST_GUILESS_MAIN(HistoryExportTest)
#include "HistoryExportTest.moc"

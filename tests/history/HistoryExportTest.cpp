// The history as a table: the exported file byte for byte and the printed
// text character for character, from real records in a real file.
#include "history/HistoryExport.h"
#include "FreshSession.h"
#include "HistoryFiles.h"
#include "ScriptedPlatform.h"
#include "history/PrintedHistory.h"
#include "platform/Platform.h"
#include "platform/ui/CommonDialog.h"
#include "session/SessionState.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HistoryFiles;

class HistoryExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void table_data();
    void table();
    void fullDiskKeepsOldContent();
    void neverOntoTheHistory_data();
    void neverOntoTheHistory();

private:
    QString In(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    CommonDialog m_dlog;
};

void HistoryExportTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ResetSession();
    Session().DataPath = In("restest.dat");
    m_dialogs.Clear();
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
    // Written by another program: one record is still one line.
    HistoryRecord foreign = record("", Dec7, 0.5, 12, {40, 38, 36, 35});
    foreign.RecName = QStringLiteral("Ann\tLee\r\nX").leftJustified(HistoryRecord::NameLength);
    QTest::newRow("control characters in a stored name")
        << QList<HistoryRecord>{foreign}
        << header + "Ann Lee  X           * 07.12.2002 * 12:00:00     *  12  * Abnormal * "
                    "Reliable\r\n\r\n"
        << "\t\t\tAnn Lee  X          \t\t\t07.12.2002\t12:00:00    \t12 "
           "\tAbnormal\t\tReliable\r\n";
    QTest::newRow("empty history") << QList<HistoryRecord>{} << header + "\r\n" << QString();
}

void HistoryExportTest::table()
{
    QFETCH(QList<HistoryRecord>, records);
    QFETCH(QByteArray, exported);
    QFETCH(QString, printed);
    QVERIFY(put(In("restest.dat"), bytesOf(records)));

    // Cancelled first: it writes and says nothing, and leaves nothing behind
    // for the next export.
    m_dialogs.QueueFile(std::nullopt);
    HistoryExport::Export(m_dlog);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"restest.dat"});
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)).kind,
             Dialogs::FileRequest::Kind::Save);

    // A name typed without extension gets the default one; again into the
    // same file, the table follows the old content.
    m_dialogs.QueueFile(In("table"));
    HistoryExport::Export(m_dlog);
    QCOMPARE(contents(In("table.TXT")), exported);
    m_dialogs.QueueFile(In("table.TXT"));
    HistoryExport::Export(m_dlog);
    QCOMPARE(contents(In("table.TXT")), exported + exported);
    QCOMPARE(m_dialogs.MessageTexts(), (QStringList{"File saved!", "File saved!"}));
    QCOMPARE(Session().RecNo, std::int16_t(1));

    const QString leading =
        "\n\n\n\n\n\t\t\tRecording\t\t\tDate\t\tTime\t\tCMF\tResults\t\t\tReliability"
        "\r\n\n\r\n";
    QCOMPARE(PrintedHistory::Build(), std::optional<QString>(leading + printed));
    QCOMPARE(Session().RecNo, std::int16_t(1));
}

// The disk fills up (here: the file size limit of a child process) while
// the table is written: the export file keeps exactly its old content and
// the user is not told it was saved.
void HistoryExportTest::fullDiskKeepsOldContent()
{
    QList<HistoryRecord> records;
    for (int i = 0; i < 50; ++i)
        records.append(record(QString("Person %1").arg(i), Dec7, 0.5, 12, {40, 38, 36, 35}));
    QVERIFY(put(In("restest.dat"), bytesOf(records)));
    const QByteArray old = "an earlier table\r\n";
    QVERIFY(put(In("out.txt"), old));

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
        ::_exit(m_dialogs.MessageTexts().isEmpty() && Session().ExportText.isEmpty() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(contents(In("out.txt")), old);
}

void HistoryExportTest::neverOntoTheHistory_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("viewed"); // DataPath; the default is restest.dat
    QTest::addColumn<bool>("cleared");   // no default history on disk
    QTest::newRow("its own name") << "restest.dat"
                                  << "restest.dat" << false;
    QTest::newRow("through a link") << "link.dat"
                                    << "restest.dat" << false;
    QTest::newRow("through a hard link") << "hard.txt"
                                         << "restest.dat" << false;
    QTest::newRow("an old history being viewed") << "old.dat"
                                                 << "old.dat" << false;
    QTest::newRow("the default history while an old one is viewed") << "restest.dat"
                                                                    << "old.dat" << false;
    QTest::newRow("a hard link of the default while an old one is viewed") << "hard.txt"
                                                                           << "old.dat" << false;
    QTest::newRow("the default history after a clear") << "restest.dat"
                                                       << "restest.dat" << true;
    QTest::newRow("the default after a clear, while an old one is viewed") << "restest.dat"
                                                                           << "old.dat" << true;
    QTest::newRow("the default after a clear, through a linked folder") << "linked/restest.dat"
                                                                        << "old.dat" << true;
}

// A table appended to a history file would be read as records: the list
// would end at the first of them with an error, and every later test would
// be stored behind them out of sight. A history is no place for the table,
// nor is the name of a default history that a clear has just moved away.
void HistoryExportTest::neverOntoTheHistory()
{
    QFETCH(QString, typed);
    QFETCH(QString, viewed);
    QFETCH(bool, cleared);
    const QByteArray history = bytesOf({record("Kept", Dec7, 0.5, 12, {40, 38, 36, 35})});
    QVERIFY(put(In("restest.dat"), history));
    QVERIFY(put(In("old.dat"), history + history));
    QVERIFY(QFile::link(In("restest.dat"), In("link.dat")));
    QCOMPARE(::link(qPrintable(In("restest.dat")), qPrintable(In("hard.txt"))), 0);
    QVERIFY(QFile::link(m_dir->path(), In("linked")));
    if (cleared) {
        QVERIFY(QFile::remove(In("hard.txt")));
        QVERIFY(QFile::remove(In("restest.dat")));
    }
    Session().DataPath = In(viewed);
    m_dialogs.QueueFile(In(typed));
    HistoryExport::Export(m_dlog, In("restest.dat"));
    QCOMPARE(contents(In("restest.dat")), cleared ? "<missing>" : history);
    QCOMPARE(contents(In("old.dat")), history + history);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
    QCOMPARE(Session().RecNo, std::int16_t(1));
}

QTEST_GUILESS_MAIN(HistoryExportTest)
#include "HistoryExportTest.moc"

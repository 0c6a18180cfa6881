// The history as a table: the exported file byte for byte and the printed
// text character for character, from real records in a real file; the
// table, the CSV and the printed text the same under the Russian catalogue.
#include "history/HistoryExport.h"
#include "HistoryFolder.h"
#include "RussianCatalogue.h"
#include "history/PrintedHistory.h"

#include <QTest>

#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HistoryFiles;

class HistoryExportTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QVERIFY(Renew()); }
    void table_data();
    void table();
    void fullDiskKeepsOldContent();
    void neverOntoTheHistory_data();
    void neverOntoTheHistory();
};

void HistoryExportTest::table_data()
{
    QTest::addColumn<QList<HistoryRecord>>("records");
    QTest::addColumn<QByteArray>("exported");
    // Null when nothing is printed.
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
    QTest::newRow("empty history") << QList<HistoryRecord>{} << header + "\r\n"
                                   << "";
    // The lines before the damage are still worth the export.
    QTest::newRow("a record no calendar can date")
        << QList<HistoryRecord>{record("Petrov", Dec7, 0.5, 10, {30, 30, 30, 27}),
                                record("Broken", std::nan(""), 0.5, 10, {30, 30, 30, 27}),
                                record("After", Dec7, 0.5, 10, {30, 30, 30, 27})}
        << header +
               "Petrov               * 07.12.2002 * 12:00:00     *  10  *   Normal * Reliable\r\n"
               "\r\n"
        << QString();
}

void HistoryExportTest::table()
{
    QFETCH(QList<HistoryRecord>, records);
    QFETCH(QByteArray, exported);
    QFETCH(QString, printed);
    QVERIFY(Put("restest.dat", bytesOf(records)));

    // Cancelled first: it writes and says nothing.
    m_dialogs.QueueFile(std::nullopt);
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Files(), QStringList{"restest.dat"});
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)).kind,
             Dialogs::FileRequest::Kind::Save);

    // A name typed without extension gets the default one; again into the
    // same file, the table follows the old content.
    m_dialogs.QueueFile(In("table"));
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Contents("table.TXT"), exported);
    m_dialogs.QueueFile(In("table.TXT"));
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Contents("table.TXT"), exported + exported);
    QStringList said{"File saved!"};
    if (printed.isNull())
        said.prepend("Error file data! Clear data.");
    QCOMPARE(m_dialogs.MessageTexts(), said + said);

    const QString leading =
        "\n\n\n\n\n\t\t\tRecording\t\t\tDate\t\tTime\t\tCMF\tResults\t\t\tReliability"
        "\r\n\n\r\n";
    QCOMPARE(PrintedHistory::Build(DefaultHistory()),
             printed.isNull() ? std::nullopt : std::optional<QString>(leading + printed));

    // Files are data for other programs: the windows' language leaves them
    // as they are, with the same regional settings.
    QCOMPARE(HistoryExport::WriteCsvTo(In("en.csv"), DefaultHistory(), DefaultHistory()),
             SaveOutcome::Done);
    const RussianCatalogue russian;
    QVERIFY(russian.Loaded());
    m_dialogs.Clear();
    m_dialogs.QueueFile(In("ru.TXT"));
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Contents("ru.TXT"), exported);
    QCOMPARE(m_dialogs.MessageTexts().last(), QStringLiteral("Файл сохранён!"));
    QCOMPARE(HistoryExport::WriteCsvTo(In("ru.csv"), DefaultHistory(), DefaultHistory()),
             SaveOutcome::Done);
    QCOMPARE(Contents("ru.csv"), Contents("en.csv"));
    QCOMPARE(PrintedHistory::Build(DefaultHistory()),
             printed.isNull() ? std::nullopt : std::optional<QString>(leading + printed));
}

// The disk fills up (here: the file size limit of a child process) while
// the table is written: the export file keeps exactly its old content and
// the user is not told it was saved.
void HistoryExportTest::fullDiskKeepsOldContent()
{
    QVERIFY(Put("restest.dat", bytesOf(people(50))));
    const QByteArray old = "an earlier table\r\n";
    QVERIFY(Put("out.txt", old));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(old.size() + 500);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_dialogs.QueueFile(In("out.txt"));
        HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
        ::_exit(m_dialogs.MessageTexts().isEmpty() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(Contents("out.txt"), old);
}

void HistoryExportTest::neverOntoTheHistory_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("viewed"); // the history exported; the default is restest.dat
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
    QTest::newRow("a backup") << "res/restest. 17"
                              << "restest.dat" << false;
    // The CSV, the dialog's second entry, replaces its file; it is ours, so
    // it says why it did not.
    QTest::newRow("CSV: its own name") << "restest.dat, csv"
                                       << "restest.dat" << false;
    QTest::newRow("CSV: a hard link of a backup") << "kept.txt, csv"
                                                  << "restest.dat" << false;
    QTest::newRow("CSV: the default after a clear") << "restest.dat, csv"
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
    const bool csv = typed.endsWith(", csv");
    typed.remove(", csv");
    const QByteArray history = bytesOf({record("Kept", Dec7, 0.5, 12, {40, 38, 36, 35})});
    QVERIFY(Put("restest.dat", history));
    QVERIFY(Put("old.dat", history + history));
    QVERIFY(Put("res/restest. 17", history + history + history));
    QCOMPARE(::link(qPrintable(In("res/restest. 17")), qPrintable(In("kept.txt"))), 0);
    QVERIFY(QFile::link(In("restest.dat"), In("link.dat")));
    QCOMPARE(::link(qPrintable(In("restest.dat")), qPrintable(In("hard.txt"))), 0);
    QVERIFY(QFile::link(Folder(), In("linked")));
    if (cleared) {
        QVERIFY(QFile::remove(In("hard.txt")));
        QVERIFY(QFile::remove(In("restest.dat")));
    }
    m_dialogs.QueueFile(In(typed), csv ? HistoryExport::CsvEntry : 0);
    HistoryExport::Export(m_dlog, In(viewed), DefaultHistory());
    QCOMPARE(Contents("restest.dat"), cleared ? "<missing>" : history);
    QCOMPARE(Contents("old.dat"), history + history);
    QCOMPARE(Contents("res/restest. 17"), history + history + history);
    QCOMPARE(m_dialogs.MessageTexts(),
             csv ? QStringList{"Permission denied. Data not saved!"} : QStringList());
}

QTEST_GUILESS_MAIN(HistoryExportTest)
#include "HistoryExportTest.moc"

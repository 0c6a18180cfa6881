// The export dialog's CSV choice on a real history file, read back by a
// CSV parser that is not the program's own (Python's csv module): the
// fields of every row exactly, the bytes around them as RFC 4180 and
// spreadsheet programs want them, and the text table of the first choice
// unchanged beside it.
#include "HistoryFolder.h"
#include "history/HistoryExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

using namespace HistoryFiles;

namespace {

using Rows = QList<QStringList>;

// The rows of a CSV file as Python's csv module reads them (strict, so a
// stray quote fails), the byte-order mark taken as UTF-8's.
std::optional<Rows> parsedByPython(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', "
                                  "encoding='utf-8-sig') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, strict=True))))"),
                   path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return std::nullopt;
    Rows rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(process.readAllStandardOutput()).array())
        rows.append(row.toVariant().toStringList());
    return rows;
}

const QString Header = "   Recording             Date        Time      CMF     Results  Validation";

} // namespace

class HistoryCsvTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    // Dates and times in a locale that writes them otherwise.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QVERIFY(Renew()); }
    void damagedHistoryReadBack();
    void choice_data();
    void choice();
    void replacesTheWholeFile();
    void formulaNamesStayText_data();
    void formulaNamesStayText();
};

// Names a spreadsheet must keep whole, CMF values outside what is shown,
// then a record no calendar can date, a good one after it and a torn end.
void HistoryCsvTest::damagedHistoryReadBack()
{
    HistoryRecord foreign = record("", Dec7, 0.25, 3, {31, 30, 30, 30});
    foreign.RecName = QStringLiteral("\tAnn\r\nLee").leftJustified(HistoryRecord::NameLength);
    const QList<HistoryRecord> records{
        record("Юлия Петрова", Dec7, 0.6041666666666666, 12, {40, 38, 36, 35}),
        record("Smith, \"Jo\"", Dec7 + 1, 0.5, -5, {20, 22, 24, 25}),
        record("  Lee", 36526.0, 0.99999, 130, {40, 30, 20, 0}),
        foreign,
        record("Broken", std::nan(""), 0.5, 12, {40, 38, 36, 35}),
        record("After", Dec7, 0.5, 12, {40, 38, 36, 35})};
    QVERIFY(Put("restest.dat", bytesOf(records) + QByteArray(40, 'x')));

    m_dialogs.QueueFile(In("table"), HistoryExport::CsvEntry);
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());

    QCOMPARE(m_dialogs.MessageTexts(),
             (QStringList{"Error file data! Clear data.", "File saved!"}));
    const QByteArray bytes = Contents("table.csv");
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFname,"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    const auto rows = parsedByPython(In("table.csv"));
    QVERIFY2(rows, "python3 could not read the file (scripts/setup.sh installs python3)");
    const Rows expected{
        {"name", "date", "time", "c1", "c2", "c3", "c4", "cmf", "results", "reliability"},
        {"Юлия Петрова", "2002-12-07", "14:30:00", "40", "38", "36", "35", "12", "Abnormal",
         "Reliable"},
        {"Smith, \"Jo\"", "2002-12-08", "12:00:00", "20", "22", "24", "25", "-1", "Normal",
         "Unreliable"},
        {"Lee", "2000-01-01", "23:59:59", "40", "30", "20", "0", "100", "Abnormal", "Reliable"},
        {"Ann  Lee", "2002-12-07", "06:00:00", "31", "30", "30", "30", "3", "Normal", "Reliable"}};
    QCOMPARE(*rows, expected);
    // Only where it is needed is a field quoted.
    QVERIFY(bytes.contains("\r\n\"Smith, \"\"Jo\"\"\",2002-12-08,"));
}

void HistoryCsvTest::choice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("entry"); // the filter entry selected
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("csv");
    QTest::newRow("the table, as always") << "table" << 1 << "table.TXT" << false;
    QTest::newRow("the table to a .txt name") << "t.txt" << 1 << "t.txt" << false;
    QTest::newRow("CSV chosen, a name without extension") << "t" << 2 << "t.csv" << true;
    QTest::newRow("a .csv name typed") << "t.csv" << 1 << "t.csv" << true;
    QTest::newRow("a .CSV name typed") << "T.CSV" << 1 << "T.CSV" << true;
    QTest::newRow("CSV chosen, whatever the name") << "t.txt" << 2 << "t.txt" << true;
}

// The dialog as the export sets it up, and what each way of answering it
// writes: the text table byte for byte as it always was, or the CSV.
void HistoryCsvTest::choice()
{
    QFETCH(QString, typed);
    QFETCH(int, entry);
    QFETCH(QString, written);
    QFETCH(bool, csv);
    QVERIFY(Put("restest.dat",
                bytesOf({record("Petrov", Dec7, 0.6041666666666666, 10, {30, 30, 30, 27})})));

    m_dialogs.QueueFile(In(typed), entry);
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());

    Dialogs::FileRequest request{Dialogs::FileRequest::Kind::Save,
                                 "*.txt | *.txt|CSV for spreadsheets and statistics (*.csv)|*.csv",
                                 "TXT",
                                 "Default.txt",
                                 1,
                                 0,
                                 Folder(),
                                 {{2, "csv", CommonDialog::OverwritePrompt}}};
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{"File saved!"});
    QStringList files{"restest.dat", written};
    files.sort();
    QCOMPARE(Files(), files);
    const QByteArray table =
        (Header + "\r\nPetrov               * 07.12.2002 * 14:30:00     *  10  *   Normal * "
                  "Reliable\r\n\r\n")
            .toLatin1();
    const QByteArray rows = "\xEF\xBB\xBFname,date,time,c1,c2,c3,c4,cmf,results,reliability\r\n"
                            "Petrov,2002-12-07,14:30:00,30,30,30,27,10,Normal,Reliable\r\n";
    QCOMPARE(Contents(written), csv ? rows : table);
}

// The table is added to a file; a CSV takes its place instead, in the
// file's mode, leaving nothing beside it.
void HistoryCsvTest::replacesTheWholeFile()
{
    QVERIFY(Put("restest.dat", bytesOf({record("Ann", Dec7, 0.5, 12, {40, 38, 36, 35})})));
    QVERIFY(Put("out.csv", "an older table\r\n"));
    for (int i = 0; i < 2; ++i) {
        m_dialogs.QueueFile(In("out.csv"), HistoryExport::CsvEntry);
        HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    }
    QCOMPARE(Contents("out.csv"),
             "\xEF\xBB\xBFname,date,time,c1,c2,c3,c4,cmf,results,reliability\r\n"
             "Ann,2002-12-07,12:00:00,40,38,36,35,12,Abnormal,Reliable\r\n");
    QCOMPARE(Files(), (QStringList{"out.csv", "restest.dat"}));
}

void HistoryCsvTest::formulaNamesStayText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("field"); // as written
    QTest::newRow("=") << "=HYPERLINK(\"x.io\")" << QByteArray("\"'=HYPERLINK(\"\"x.io\"\")\"");
    QTest::newRow("+") << "+SUM(A1:A9)" << QByteArray("'+SUM(A1:A9)");
    QTest::newRow("-") << "-2+3" << QByteArray("'-2+3");
    QTest::newRow("@") << "@cmd" << QByteArray("'@cmd");
    QTest::newRow("= after blanks") << "  =1+1" << QByteArray("'=1+1");
    QTest::newRow("= with a comma, quoted") << "=A1,B1" << QByteArray("\"'=A1,B1\"");
    QTest::newRow("a hyphen inside stays") << "Anna-Maria" << QByteArray("Anna-Maria");
}

// A name a spreadsheet would run as a formula is written as text; the
// numbers beside it, a CMF of -1 too, stay numbers.
void HistoryCsvTest::formulaNamesStayText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, field);
    QVERIFY(Put("restest.dat", bytesOf({record(name, Dec7, 0.5, -5, {40, 38, 36, 35})})));
    m_dialogs.QueueFile(In("out.csv"), HistoryExport::CsvEntry);
    HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Contents("out.csv").split('\n').value(1),
             field + ",2002-12-07,12:00:00,40,38,36,35,-1,Normal,Unreliable\r");
}

QTEST_GUILESS_MAIN(HistoryCsvTest)
#include "HistoryCsvTest.moc"

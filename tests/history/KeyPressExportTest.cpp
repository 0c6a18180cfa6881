// The key presses of a history as exported, byte for byte, from a real
// history and a real companion file beside it: only the rows of the tests
// the history holds, in its file order, up to a damaged row; the same under
// the Russian catalogue.
#include "history/KeyPressExport.h"
#include "HistoryFolder.h"
#include "RussianCatalogue.h"
#include "history/KeyPressReader.h"

#include <QTest>

using namespace HistoryFiles;

namespace {

const QByteArray Companion = "record,date,time,interval,press,ms,key\r\n";
const QByteArray Exported = "\xEF\xBB\xBFname,date,time,interval,press,ms,key\r\n";
// The two tests of the history: the second's name a spreadsheet would run.
const QByteArray First = "1,2002-12-07,12:00:00,0,1,0,38\r\n"
                         "1,2002-12-07,12:00:00,1,2,183,38\r\n";
const QByteArray Second = "2,2002-12-08,06:00:00,4,1,0,-2\r\n";
const QByteArray FirstOut = "Petrov,2002-12-07,12:00:00,0,1,0,38\r\n"
                            "Petrov,2002-12-07,12:00:00,1,2,183,38\r\n";
const QByteArray SecondOut = "\"'=HYPERLINK(\"\"x\"\")\",2002-12-08,06:00:00,4,1,0,-2\r\n";

} // namespace

class KeyPressExportTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(Renew()); }
    void exported_data();
    void exported();
};

void KeyPressExportTest::exported_data()
{
    QTest::addColumn<QByteArray>("companion"); // null: none beside the history
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("file"); // the target afterwards; null: as before
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("firstTest"); // presses the report gets for record 1
    const QStringList saved{"File saved!"};
    QTest::newRow("tests in the history's order")
        << Companion + Second + First << "out.csv" << Exported + FirstOut + SecondOut << saved << 2;
    QTest::newRow("another test of record 2 (its date differs), a record not in the history")
        << Companion + First + "2,2002-12-09,06:00:00,1,1,0,65\r\n" +
               "3,2002-12-09,06:00:00,1,1,0,65\r\n"
        << "out.csv" << Exported + FirstOut << saved << 2;
    QTest::newRow("a damaged row ends the reading")
        << Companion + First + "2,2002-12-08,06:00:00,5,1,0,65\r\n" + Second << "out.csv"
        << Exported + FirstOut << QStringList{KeyPressExport::DamagedMessage(), "File saved!"} << 2;
    QTest::newRow("a last row cut short")
        << Companion + First + "2,2002-12-08,06:00:00,4,1,0,6"
        << "out.csv" << Exported + FirstOut
        << QStringList{KeyPressExport::DamagedMessage(), "File saved!"} << 2;
    QTest::newRow("the same test written twice counts once")
        << Companion + First + First << "out.csv" << Exported + FirstOut << saved << 2;
    QTest::newRow("no companion: nothing written")
        << QByteArray() << "out.csv" << QByteArray("<missing>")
        << QStringList{"No key presses are kept for this history."} << 0;
    QTest::newRow("a companion without rows") << Companion << "out.csv" << Exported << saved << 0;
    QTest::newRow("never onto the history")
        << Companion + First << "restest.dat" << QByteArray()
        << QStringList{"Permission denied. Data not saved!"} << 2;
    QTest::newRow("never onto the presses kept")
        << Companion + First << "restest.presses.csv" << QByteArray()
        << QStringList{"Permission denied. Data not saved!"} << 2;
}

void KeyPressExportTest::exported()
{
    QFETCH(QByteArray, companion);
    QFETCH(QString, target);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, said);
    const QList<HistoryRecord> records{
        record("Petrov", Dec7, 0.5, 10, {30, 30, 30, 27}),
        record("=HYPERLINK(\"x\")", Dec7 + 1, 0.25, 11, {40, 38, 36, 35})};
    QVERIFY(Put("restest.dat", bytesOf(records)));
    if (!companion.isNull())
        QVERIFY(Put("restest.presses.csv", companion));

    const QByteArray before = Contents(target);
    m_dialogs.QueueFile(In(target));
    KeyPressExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
    QCOMPARE(Contents(target), file.isNull() ? before : file);
    QCOMPARE(m_dialogs.MessageTexts(), said);
    QTEST(int(KeyPressReader::Of(DefaultHistory(), 1, records[0]).size()), "firstTest");

    // The same bytes whatever the language of the windows.
    if (!file.isNull()) {
        const RussianCatalogue russian;
        QVERIFY(russian.Loaded());
        m_dialogs.QueueFile(In("ru.csv"));
        KeyPressExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
        QCOMPARE(Contents("ru.csv"), file);
    }
}

QTEST_MAIN(KeyPressExportTest)
#include "KeyPressExportTest.moc"

// Reading one person's tests for the trend from real history files: who
// counts as the same person, in which order the tests come and what a
// damaged file leaves.
#include "trend/PersonTrend.h"
#include "HistoryFolder.h"
#include "history/HistoryList.h"
#include "record/OleDate.h"

#include <QTest>

#include <limits>

using namespace HistoryFiles;

namespace {

// Three people, interleaved as a day of testing leaves them: Anna once
// stored with blanks in front and in capitals, Сидорова in Cyrillic once in
// capitals, and Boris with one stored CMF above 100 and one below 0.
const QList<HistoryRecord> ThreePeople = {
    record("Anna Petrova", Dec7, 0.375, 5, {40, 39, 38, 38}),      // 1
    record("Boris", Dec7, 0.40, 130, {40, 30, 20, 0}),             // 2
    record("Сидорова Анна", Dec7, 0.45, 12, {40, 38, 36, 35}),     // 3
    record("  ANNA PETROVA", Dec7 + 3, 0.5, 12, {40, 38, 36, 35}), // 4
    record("Boris Petrov", Dec7 + 3, 0.55, 0, {30, 30, 30, 30}),   // 5: not Boris
    record("Boris", Dec7 + 5, 0.6, -7, {30, 31, 32, 33}),          // 6
    record("СИДОРОВА АННА", Dec7 + 9, 0.25, 0, {31, 31, 31, 31}),  // 7
    record("anna petrova", Dec7 + 10, 0.70, 20, {25, 24, 22, 20}), // 8
    record("Anna  Petrova", Dec7 + 11, 0.70, 0, {40, 40, 40, 40}), // 9: not Anna
};

const double NaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class PersonTrendTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init();
    void eachPersonsTests_data();
    void eachPersonsTests();
    void endsWhereTheListEnds_data();
    void endsWhereTheListEnds();
    void nameOfARecord();
};

void PersonTrendTest::init()
{
    QVERIFY(Renew() && Put("restest.dat", bytesOf(ThreePeople)));
}

void PersonTrendTest::eachPersonsTests_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<qint64>>("records");
    // Per test: date, time, CMF as the list shows it, then the verdicts.
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("Anna, as first stored")
        << "Anna Petrova" << QList<qint64>{1, 4, 8}
        << QStringList{"07.12.2002 09:00:00 5 Normal Reliable",
                       "10.12.2002 12:00:00 12 Abnormal Reliable",
                       "17.12.2002 16:48:00 20 Abnormal Unreliable"};
    QTest::newRow("Anna, typed otherwise")
        << "  anna PETROVA " << QList<qint64>{1, 4, 8}
        << QStringList{"07.12.2002 09:00:00 5 Normal Reliable",
                       "10.12.2002 12:00:00 12 Abnormal Reliable",
                       "17.12.2002 16:48:00 20 Abnormal Unreliable"};
    QTest::newRow("Cyrillic, either case")
        << "сидорова анна" << QList<qint64>{3, 7}
        << QStringList{"07.12.2002 10:48:00 12 Abnormal Reliable",
                       "16.12.2002 06:00:00 0 Normal Reliable"};
    QTest::newRow("Boris, CMF as listed")
        << "Boris" << QList<qint64>{2, 6}
        << QStringList{"07.12.2002 09:36:00 100 Abnormal Reliable",
                       "12.12.2002 14:24:00 -1 Normal Unreliable"};
    QTest::newRow("nobody of that name") << "Anna" << QList<qint64>{} << QStringList{};
}

void PersonTrendTest::eachPersonsTests()
{
    QFETCH(QString, name);
    QFETCH(QList<qint64>, records);
    QFETCH(QStringList, shown);

    const PersonTrend::Reading reading = PersonTrend::Read(DefaultHistory(), name);
    QVERIFY(reading.complete);
    QList<qint64> read;
    QStringList texts;
    for (const PersonTrend::Test &test : reading.tests) {
        read << test.recNo;
        using Display = Evaluation::Display;
        texts << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(test.date, test.time)
                     .arg(test.record.RecCMF)
                     .arg(Evaluation::Present(test.Results(), Display::ResultsWindow).text,
                          Evaluation::Present(test.Reliability(), Display::ResultsWindow).text);
        // The record otherwise as stored.
        const HistoryRecord &stored = ThreePeople.at(test.recNo - 1);
        QCOMPARE(test.record.RecName, stored.RecName);
        QCOMPARE(test.record.RecCounts, stored.RecCounts);
        QCOMPARE(test.When(), QDateTime(OleDate::ToDate(stored.RecDate).value(),
                                        OleDate::ToTime(stored.RecTime).value()));
    }
    QCOMPARE(read, records);
    QCOMPARE(texts, shown);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

void PersonTrendTest::endsWhereTheListEnds_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<qint64>("readable");  // records before the reading ends
    QTest::addColumn<bool>("complete");
    const HistoryRecord x = record("X", Dec7, 0.5, 0, {30, 30, 30, 30});
    const HistoryRecord other = record("Y", Dec7, 0.5, 0, {30, 30, 30, 30});
    QTest::newRow("missing") << QByteArray() << qint64(0) << true;
    QTest::newRow("empty") << QByteArray("") << qint64(0) << true;
    QTest::newRow("less than one record") << QByteArray(40, 'x') << qint64(0) << true;
    QTest::newRow("trailing partial record")
        << bytesOf({x, x}) + QByteArray(79, '\xff') << qint64(2) << true;
    QTest::newRow("NaN date of another person")
        << bytesOf({x, x, record("Y", NaN, 0.5, 0, {30, 30, 30, 30}), x}) << qint64(2) << false;
    QTest::newRow("year 10000 of the person")
        << bytesOf({x, record("X", 3e6, 0.5, 0, {30, 30, 30, 30}), x}) << qint64(1) << false;
    QTest::newRow("infinite time")
        << bytesOf(
               {other, x,
                record("X", Dec7, std::numeric_limits<double>::infinity(), 0, {30, 30, 30, 30})})
        << qint64(2) << false;
    QTest::newRow("more records than a file may hold")
        << x.Encode().repeated(32768) << qint64(32767) << false;
}

// A damaged file gives the person's tests up to the record where the data
// window's list ends, and only those, so every test is a line there.
void PersonTrendTest::endsWhereTheListEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, readable);
    QFile::remove(DefaultHistory());
    if (!bytes.isNull())
        QVERIFY(Put("restest.dat", bytes));
    int listed = 0;
    HistoryList::ListHistory(DefaultHistory(), [&listed](const QString &) { ++listed; });
    QCOMPARE(qint64(listed), readable);
    m_dialogs.Clear();

    const PersonTrend::Reading reading = PersonTrend::Read(DefaultHistory(), QStringLiteral("x"));
    QTEST(reading.complete, "complete");
    QList<qint64> expected;
    for (qint64 recNo = 1; recNo <= readable; ++recNo) {
        if (bytes.mid((recNo - 1) * HistoryRecord::RecordLength, 1) == "X")
            expected << recNo;
    }
    QList<qint64> read;
    for (const PersonTrend::Test &test : reading.tests)
        read << test.recNo;
    QCOMPARE(read, expected);
    // Reading tells nobody anything; the window says it once.
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

void PersonTrendTest::nameOfARecord()
{
    QCOMPARE(PersonTrend::NameAt(DefaultHistory(), 4), HistoryRecord::FitName("  ANNA PETROVA"));
    QVERIFY(!PersonTrend::NameAt(DefaultHistory(), 0));
    QVERIFY(!PersonTrend::NameAt(DefaultHistory(), ThreePeople.size() + 1));
}

QTEST_GUILESS_MAIN(PersonTrendTest)
#include "PersonTrendTest.moc"

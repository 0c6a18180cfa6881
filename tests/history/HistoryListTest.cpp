// The history as text, from real record bytes in a real file: the line's
// fixed columns, the corrections of stored CMF values, and the failures
// that end a listing while keeping the lines before them.
#include "history/HistoryList.h"
#include "HistoryFolder.h"
#include "history/HistoryCsv.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace HistoryFiles;

namespace {

constexpr double HalfPast2 = 0.6041666666666666; // 14:30:00

// Whether the history at path was listed to its end, and the lines listed.
std::pair<bool, QStringList> listed(const QString &path)
{
    QStringList lines;
    const bool ok =
        HistoryList::ListHistory(path, [&lines](const QString &line) { lines << line; });
    return {ok, lines};
}

} // namespace

class HistoryListTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QVERIFY(Renew()); }
    void line_data();
    void line();
    void listsWholeRecordsInOrder();
    void failureKeepsEarlierLines_data();
    void failureKeepsEarlierLines();
};

void HistoryListTest::line_data()
{
    QTest::addColumn<HistoryRecord>("stored");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("locale");
    QTest::newRow("abnormal, reliable")
        << record(QStringLiteral("Petrov"), Dec7, HalfPast2, 12, {40, 38, 36, 35})
        << QStringLiteral(
               "Petrov               * 07.12.2002 * 14:30:00     *  12  * Abnormal * Reliable")
        << QStringLiteral("ru_RU");
    QTest::newRow("normal, unreliable")
        << record(QStringLiteral("  Ivanova Anna"), Dec7, HalfPast2, 4, {25, 25, 24, 24})
        << QStringLiteral(
               "Ivanova Anna         * 07.12.2002 * 14:30:00     *  4   *   Normal * Unreliable")
        << QStringLiteral("ru_RU");
    QTest::newRow("stored 130 listed as 100")
        << record(QStringLiteral("A"), Dec7, 0.5, 130, {40, 30, 20, 0})
        << QStringLiteral(
               "A                    * 07.12.2002 * 12:00:00     *  100 * Abnormal * Reliable")
        << QStringLiteral("ru_RU");
    QTest::newRow("stored -7 listed as -1")
        << record(QStringLiteral("B"), Dec7, 0.0, -7, {40, 40, 40, 41})
        << QStringLiteral(
               "B                    * 07.12.2002 * 00:00:00     *  -1  *   Normal * Unreliable")
        << QStringLiteral("ru_RU");
    // As another program may have stored it: the tab, line end, escape and
    // zero byte would split the line or hide in it.
    HistoryRecord foreign = record(QString(), Dec7, HalfPast2, 12, {40, 38, 36, 35});
    foreign.RecName = QStringLiteral("\tAnn\r\nLee\x1b") + QChar(0) + QStringLiteral("X");
    foreign.RecName = foreign.RecName.leftJustified(HistoryRecord::NameLength);
    QTest::newRow("control characters in a stored name show as blanks")
        << foreign
        << QStringLiteral(
               "Ann  Lee  X          * 07.12.2002 * 14:30:00     *  12  * Abnormal * Reliable")
        << QStringLiteral("ru_RU");
    QTest::newRow("Cyrillic name, full width")
        << record(QStringLiteral("Щербакова-Мельникова"), Dec7, HalfPast2, 10, {30, 30, 30, 27})
        << QStringLiteral(
               "Щербакова-Мельникова * 07.12.2002 * 14:30:00     *  10  *   Normal * Reliable")
        << QStringLiteral("ru_RU");
    // Where the user's dates are wider than their column, the list shows
    // them as ISO 8601 instead of calling a healthy history damaged.
    QTest::newRow("hu_HU: 2002. 12. 07. too wide, listed as 2002-12-07")
        << record(QStringLiteral("Kovacs"), Dec7, HalfPast2, 12, {40, 38, 36, 35})
        << QStringLiteral(
               "Kovacs               * 2002-12-07 * 14:30:00     *  12  * Abnormal * Reliable")
        << QStringLiteral("hu_HU");
    QTest::newRow("bg_BG: 7.12.02 г. too wide, its time kept")
        << record(QStringLiteral("Ivanov"), Dec7, HalfPast2, 4, {25, 25, 24, 24})
        << QStringLiteral(
               "Ivanov               * 2002-12-07 * 14:30:00 ч.  *  4   *   Normal * Unreliable")
        << QStringLiteral("bg_BG");
}

void HistoryListTest::line()
{
    QFETCH(HistoryRecord, stored);
    QFETCH(QString, expected);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    QVERIFY(Put("restest.dat", bytesOf({stored})));
    const auto shown = listed(DefaultHistory());
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(shown, std::pair(true, QStringList{expected}));
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

void HistoryListTest::listsWholeRecordsInOrder()
{
    const QList<HistoryRecord> records{
        record(QStringLiteral("First"), Dec7, HalfPast2, 0, {30, 30, 30, 30}),
        record(QStringLiteral("Second"), Dec7 + 1, 0.25, 11, {40, 38, 36, 35}),
        record(QStringLiteral("Third"), Dec7 + 2, 0.75, 100, {30, 1, 1, 0})};
    // A ragged tail shorter than a record is no record.
    QVERIFY(Put("restest.dat", bytesOf(records) + QByteArray(40, 'x')));
    const auto [ok, lines] = listed(DefaultHistory());
    QVERIFY(ok);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("First ")));
    QVERIFY(lines[1].startsWith(QStringLiteral("Second ")));
    QVERIFY(lines[2].startsWith(QStringLiteral("Third ")));

    // A missing file is created empty and lists nothing, silently.
    QFile::remove(DefaultHistory());
    QCOMPARE(listed(DefaultHistory()), std::pair(true, QStringList()));
    QVERIFY(QFile::exists(DefaultHistory()));
    QCOMPARE(m_dialogs.MessageTexts(), QStringList());
}

void HistoryListTest::failureKeepsEarlierLines_data()
{
    QTest::addColumn<HistoryRecord>("bad");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("no date at all") << record(QStringLiteral("X"), nan, 0.5, 0, {30, 30, 30, 30});
    QTest::newRow("year 10000") << record(QStringLiteral("X"), 3e6, 0.5, 0, {30, 30, 30, 30});
    QTest::newRow("date with a time: wider than its column")
        << record(QStringLiteral("X"), Dec7 + 0.5, 0.5, 0, {30, 30, 30, 30});
    QTest::newRow("time with a date: wider than its column")
        << record(QStringLiteral("X"), Dec7, Dec7 + 0.5, 0, {30, 30, 30, 30});
    QTest::newRow("time of a day and a half")
        << record(QStringLiteral("X"), Dec7, 1.5, 0, {30, 30, 30, 30});
    QTest::newRow("no time at all") << record(QStringLiteral("X"), Dec7, nan, 0, {30, 30, 30, 30});
}

void HistoryListTest::failureKeepsEarlierLines()
{
    QFETCH(HistoryRecord, bad);
    const HistoryRecord good = record(QStringLiteral("Good"), Dec7, HalfPast2, 0, {30, 30, 30, 30});
    QVERIFY(Put("restest.dat", bytesOf({good, bad, good})));
    const auto [ok, lines] = listed(DefaultHistory());
    QVERIFY(!ok);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(m_dialogs.MessageTexts(), QStringList{QStringLiteral("Error file data! Clear data.")});
    // The CSV stops at the same record: its header and the good row alone.
    const HistoryCsv::Table table = HistoryCsv::Build(DefaultHistory());
    QVERIFY(!table.complete);
    QCOMPARE(table.bytes.count("\r\n"), 2);
}

QTEST_GUILESS_MAIN(HistoryListTest)
#include "HistoryListTest.moc"

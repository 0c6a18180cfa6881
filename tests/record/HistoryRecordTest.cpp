#include "record/HistoryRecord.h"
#include "record/CodePage1251.h"
#include "record/OleDate.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <cmath>
#include <limits>

class HistoryRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void byteLayout();
    void names_data();
    void names();
    void shortInputDoesNotDecode();
    void codePageAgreesWithQt();
    void oleDates_data();
    void oleDates();
    void unrepresentableDates_data();
    void unrepresentableDates();
};

// A record written on 7 December 2002 at 14:30:00, checked byte for byte.
void HistoryRecordTest::byteLayout()
{
    HistoryRecord record;
    record.SetName(QStringLiteral("Ann"));
    record.RecDate = OleDate::FromDate(QDate(2002, 12, 7));
    record.RecTime = OleDate::FromTime(QTime(14, 30, 0, 999));
    record.RecCMF = -1;
    record.RecCounts = {40, 38, 36, 0x1234};
    const QByteArray bytes = record.Encode();

    QCOMPARE(bytes.size(), 80);
    QCOMPARE(bytes.left(20), QByteArray("Ann                 "));
    QCOMPARE(bytes.mid(20, 8).toHex(' '), QByteArray("00 00 00 00 a0 5b e2 40"));
    QCOMPARE(bytes.mid(28, 8).toHex(' '), QByteArray("55 55 55 55 55 55 e3 3f"));
    QCOMPARE(bytes.mid(36, 10).toHex(' '), QByteArray("ff ff 28 00 26 00 24 00 34 12"));
    QCOMPARE(bytes.mid(46), QByteArray(34, '\0'));

    // The filler is never read: whatever another writer left there, the
    // record decodes the same.
    QByteArray dirty = bytes;
    dirty.replace(46, 34, QByteArray(34, '\xAB'));
    const auto decoded = HistoryRecord::Decode(dirty.constData(), dirty.size());
    QVERIFY(decoded);
    QCOMPARE(*decoded, record);
    QCOMPARE(decoded->RecDate, 37597.0);
}

void HistoryRecordTest::names_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("cyrillic round trip")
        << QStringLiteral("Иван Петров")
        << QByteArray("\xc8\xe2\xe0\xed \xcf\xe5\xf2\xf0\xee\xe2         ")
        << QStringLiteral("Иван Петров         ");
    QTest::newRow("outside the code page")
        << QStringLiteral("Zoë 中文 😀!") << QByteArray("Zoe ?? ?!           ")
        << QStringLiteral("Zoe ?? ?!           ");
    QTest::newRow("cut to 20") << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY")
                               << QByteArray("ABCDEFGHIJKLMNOPQRST")
                               << QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    // Cut after 20 stored bytes, not 20 UTF-16 units (the emoji take two).
    QTest::newRow("emoji, then letters, cut to 20")
        << QString("😀").repeated(9) + "ABCDEFGHIJKL" << QByteArray("?????????ABCDEFGHIJK")
        << QStringLiteral("?????????ABCDEFGHIJK");
    QTest::newRow("letters with marks: the letter they are built on")
        << QStringLiteral("Zoë Ça Ñandú Łódź") << QByteArray("Zoe Ca Nandu ?odz   ")
        << QStringLiteral("Zoe Ca Nandu ?odz   ");
    QTest::newRow("decomposed й composes")
        << QStringLiteral("Йи\u0306ка") << QByteArray("\xc9\xe9\xea\xe0                ")
        << QStringLiteral("Ййка                ");
    QTest::newRow("a mark with no composed letter is dropped")
        << QStringLiteral("x\u0301y\u0327") << QByteArray("xy                  ")
        << QStringLiteral("xy                  ");
    QTest::newRow("one emoji of several code points is one '?'")
        << QStringLiteral("👨\u200d👩\u200d👧 🇺🇦 Li") << QByteArray("? ? Li              ")
        << QStringLiteral("? ? Li              ");
    QTest::newRow("control characters become blanks")
        << QStringLiteral("A\tB\r\nC\x1b D\x7f\u0085") << QByteArray("A B  C  D           ")
        << QStringLiteral("A B  C  D           ");
    QTest::newRow("euro and yo") << QStringLiteral("€Ёё")
                                 << QByteArray("\x88\xa8\xb8                 ")
                                 << QStringLiteral("€Ёё                 ");
}

void HistoryRecordTest::names()
{
    QFETCH(QString, given);
    QFETCH(QByteArray, stored);
    HistoryRecord record;
    record.SetName(given);
    const QByteArray bytes = record.Encode();
    QCOMPARE(bytes.left(20), stored);
    QCOMPARE(HistoryRecord::StoredName(given), stored);
    const auto decoded = HistoryRecord::Decode(bytes.constData(), bytes.size());
    QVERIFY(decoded);
    QTEST(decoded->RecName, "readBack");
    QTEST(HistoryRecord::FitName(given), "readBack");
    QCOMPARE(CodePage1251::Decode(stored.constData(), stored.size()), decoded->RecName);
    // What reads back is stored again as it is.
    QCOMPARE(HistoryRecord::StoredName(decoded->RecName), stored);
}

void HistoryRecordTest::shortInputDoesNotDecode()
{
    const QByteArray bytes = HistoryRecord().Encode();
    QVERIFY(!HistoryRecord::Decode(bytes.constData(), 79));
    QVERIFY(!HistoryRecord::Decode(nullptr, 80));
}

// The program's own table against Qt's converter, where Qt was built with
// one: every byte both ways.
void HistoryRecordTest::codePageAgreesWithQt()
{
    QStringDecoder decoder("windows-1251");
    QStringEncoder encoder("windows-1251");
    if (!decoder.isValid() || !encoder.isValid())
        QSKIP("this Qt has no converter for code page 1251");
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString qtText = decoder.decode(all);
    QCOMPARE(CodePage1251::Decode(all.constData(), all.size()), qtText);
    QCOMPARE(CodePage1251::Encode(qtText), QByteArray(encoder.encode(qtText)));
    QCOMPARE(CodePage1251::Encode(qtText), all);
}

void HistoryRecordTest::oleDates_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");

    QTest::newRow("day 0") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0);
    QTest::newRow("noon") << 0.5 << QDate(1899, 12, 30) << QTime(12, 0);
    QTest::newRow("example") << 37597.0 + 52200.0 / 86400.0 << QDate(2002, 12, 7) << QTime(14, 30);
    QTest::newRow("before day 0") << -1.25 << QDate(1899, 12, 29) << QTime(6, 0);
    QTest::newRow("last second") << 86399.0 / 86400.0 << QDate(1899, 12, 30) << QTime(23, 59, 59);
    QTest::newRow("first year") << OleDate::Minimum << QDate(100, 1, 1) << QTime(0, 0);
    QTest::newRow("last day") << 2958465.0 << QDate(9999, 12, 31) << QTime(0, 0);
    // Other writers store times a hair short of midnight.
    QTest::newRow("rounds into the next day") << 37597.9999999 << QDate(2002, 12, 8) << QTime(0, 0);
    QTest::newRow("time alone rounds to midnight")
        << 0.9999999 << QDate(1899, 12, 31) << QTime(0, 0);
    QTest::newRow("before day 0, into the next day")
        << -1.9999999 << QDate(1899, 12, 30) << QTime(0, 0);
    QTest::newRow("half a second rounds up")
        << 37597.0 + 86399.5 / 86400.0 << QDate(2002, 12, 8) << QTime(0, 0);
}

void HistoryRecordTest::oleDates()
{
    QFETCH(double, value);
    QFETCH(QDate, date);
    QTEST(OleDate::ToDate(value).value_or(QDate()), "date");
    QTEST(OleDate::ToTime(value).value_or(QTime()), "time");
    if (value >= 0 && value == std::floor(value))
        QCOMPARE(OleDate::FromDate(date), value);
}

void HistoryRecordTest::unrepresentableDates_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
    QTest::newRow("year 10000") << 2958466.0;
    QTest::newRow("rounds into year 10000") << 2958465.9999999;
    QTest::newRow("year 99") << -657435.0;
}

void HistoryRecordTest::unrepresentableDates()
{
    QFETCH(double, value);
    QVERIFY(!OleDate::ToDate(value));
    QVERIFY(!OleDate::ToTime(value));
}

QTEST_GUILESS_MAIN(HistoryRecordTest)
#include "HistoryRecordTest.moc"

// Dates and times of records as the user's regional settings write them,
// and as narrow as the history's columns need them.
#include "platform/DateText.h"

#include <QTest>

#include <limits>

namespace {

constexpr double Dec10 = 37600.0; // 10 December 2002
constexpr double HalfPast2 = 0.6041666666666666;

} // namespace

class DateTextTest : public QObject
{
    Q_OBJECT

private slots:
    void fromOle_data();
    void fromOle();
};

void DateTextTest::fromOle_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("ru date") << "ru_RU" << Dec10 << "10.12.2002";
    QTest::newRow("ru time, no zone") << "ru_RU" << HalfPast2 << "14:30:00";
    QTest::newRow("ru midnight") << "ru_RU" << 0.0 << "00:00:00";
    QTest::newRow("ru both") << "ru_RU" << Dec10 + HalfPast2 << "10.12.2002 14:30:00";
    QTest::newRow("en date") << "en_US" << Dec10 << "12/10/02";
    QTest::newRow("en time, no zone") << "en_US" << HalfPast2 << "2:30:00 PM";
    QTest::newRow("de date") << "de_DE" << Dec10 << "10.12.02";
    // Forms wider than the history's columns give way to ISO 8601.
    QTest::newRow("hu date, 2002. 12. 10. too wide") << "hu_HU" << Dec10 << "2002-12-10";
    QTest::newRow("bg date, 10.12.02 г. too wide") << "bg_BG" << Dec10 << "2002-12-10";
    QTest::newRow("bg both") << "bg_BG" << Dec10 + HalfPast2 << "2002-12-10 14:30:00 ч.";
    QTest::newRow("C date, 10 Dec 2002 too wide") << "C" << Dec10 << "2002-12-10";
    QTest::newRow("C time") << "C" << HalfPast2 << "14:30:00";
    QTest::newRow("no date at all") << "ru_RU" << std::numeric_limits<double>::quiet_NaN() << "";
}

void DateTextTest::fromOle()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    const auto written = DateText::FromOle(value, QLocale(locale));
    QCOMPARE(written.value_or(QString()), text);
    DateText::Writer writer{QLocale(locale)};
    QCOMPARE(writer.FromOle(value).value_or(QString()), text);
    if (value == Dec10)
        QCOMPARE(DateText::ShortDate(QDate(2002, 12, 10), QLocale(locale)), text);
}

QTEST_GUILESS_MAIN(DateTextTest)
#include "DateTextTest.moc"

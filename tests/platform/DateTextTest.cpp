// Dates and times of records as the user's regional settings write them,
// and as narrow as the history's columns need them.
#include "platform/DateText.h"

#include <QTest>

#include <limits>

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
    const double dec10 = 37600.0;
    const double halfPast2 = 0.6041666666666666;
    QTest::newRow("ru date") << "ru_RU" << dec10 << "10.12.2002";
    QTest::newRow("ru time, no zone") << "ru_RU" << halfPast2 << "14:30:00";
    QTest::newRow("ru midnight") << "ru_RU" << 0.0 << "00:00:00";
    QTest::newRow("ru both") << "ru_RU" << dec10 + halfPast2 << "10.12.2002 14:30:00";
    QTest::newRow("en time, no zone") << "en_US" << halfPast2 << "2:30:00 PM";
    QTest::newRow("C date fits its column") << "C" << dec10 << "2002-12-10";
    QTest::newRow("C time") << "C" << halfPast2 << "14:30:00";
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
}

QTEST_GUILESS_MAIN(DateTextTest)
#include "DateTextTest.moc"

#include "record/Evaluation.h"

#include <QTest>

using E = Evaluation;
using Results = Evaluation::Results;
using Reliability = Evaluation::Reliability;
using Where = Evaluation::Display;

class EvaluationTest : public QObject
{
    Q_OBJECT

private slots:
    void calcCmf_data();
    void calcCmf();
    void storedCmf_data();
    void storedCmf();
    void roundHalfEven_data();
    void roundHalfEven();
    void presentation_data();
    void presentation();
};

void EvaluationTest::calcCmf_data()
{
    QTest::addColumn<int>("c1");
    QTest::addColumn<int>("c4");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("cmf");
    QTest::addColumn<bool>("abnormal");
    QTest::addColumn<bool>("unreliable");

    QTest::newRow("10.0 is still normal") << 40 << 36 << true << 10 << false << false;
    QTest::newRow("12.5 rounds to even 12") << 40 << 35 << true << 12 << true << false;
    QTest::newRow("7.5 rounds to even 8") << 40 << 37 << true << 8 << false << false;
    QTest::newRow("10.5 rounds to even 10") << 200 << 179 << true << 10 << false << false;
    QTest::newRow("c1 19 is too few") << 19 << 17 << true << 11 << true << true;
    QTest::newRow("9.52 with c1 21") << 21 << 19 << true << 10 << false << true;
    QTest::newRow("no change at 30") << 30 << 30 << true << 0 << false << false;
    QTest::newRow("a rise becomes -1") << 30 << 31 << true << -1 << false << true;
    QTest::newRow("-0.5 rounds to 0, not -1") << 200 << 201 << true << 0 << false << false;
    QTest::newRow("-1.5 rounds to -2, then -1") << 200 << 203 << true << -1 << false << true;
    QTest::newRow("full drop") << 30 << 0 << true << 100 << true << false;
    QTest::newRow("c1 29 unreliable") << 29 << 29 << true << 0 << false << true;
    QTest::newRow("c1 0 fails") << 0 << 0 << false << 0 << false << false;
    QTest::newRow("c1 0 fails whatever c4") << 0 << 12 << false << 0 << false << false;
    QTest::newRow("above 100 is capped") << 10 << -5 << true << 100 << true << true;
    QTest::newRow("difference overflows 16 bits") << 1 << -32767 << false << 0 << false << false;
    QTest::newRow("difference at the 16-bit edge") << 32767 << 0 << true << 100 << true << false;
    QTest::newRow("percentage overflows 16 bits") << 1 << -400 << false << 0 << false << false;
    QTest::newRow("percentage overflows with negative c1")
        << -1 << 400 << false << 0 << false << false;
    QTest::newRow("negative c1, small difference") << -100 << -90 << true << 10 << false << true;
}

void EvaluationTest::calcCmf()
{
    QFETCH(int, c1);
    QFETCH(int, c4);
    QFETCH(bool, ok);
    const auto cmf = E::CalcCMF(std::int16_t(c1), std::int16_t(c4));
    QCOMPARE(cmf.has_value(), ok);
    if (!ok)
        return;
    QTEST(int(*cmf), "cmf");
    QFETCH(bool, abnormal);
    QFETCH(bool, unreliable);
    QCOMPARE(E::ResultsVerdict(*cmf) == Results::Abnormal, abnormal);
    QCOMPARE(E::ReliabilityVerdict(std::int16_t(c1), std::int16_t(c4), *cmf) ==
                 Reliability::Unreliable,
             unreliable);
}

// Stored records need not come from this program: the reading correction and
// the growth test must still give the same verdicts everywhere.
void EvaluationTest::storedCmf_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("c1");
    QTest::addColumn<int>("c4");
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("detailed");
    QTest::addColumn<bool>("abnormal");
    QTest::addColumn<bool>("unreliable");

    QTest::newRow("-7 reads as -1") << -7 << 40 << 41 << -1 << -1 << false << true;
    QTest::newRow("130 is capped only in the list")
        << 130 << 40 << 10 << 100 << 130 << true << false;
    QTest::newRow("growth alone makes it unreliable") << 0 << 40 << 45 << 0 << 0 << false << true;
    QTest::newRow("growth of exactly 1.1 passes") << 0 << 40 << 44 << 0 << 0 << false << false;
    QTest::newRow("-32768 reads as -1") << -32768 << 40 << 40 << -1 << -1 << false << true;
}

void EvaluationTest::storedCmf()
{
    QFETCH(int, stored);
    QFETCH(int, c1);
    QFETCH(int, c4);
    const auto listed = E::CorrectStoredCmf(std::int16_t(stored), E::StoredCmf::NegativeAndCap);
    const auto detailed = E::CorrectStoredCmf(std::int16_t(stored), E::StoredCmf::NegativeOnly);
    QTEST(int(listed), "listed");
    QTEST(int(detailed), "detailed");
    QFETCH(bool, abnormal);
    QFETCH(bool, unreliable);
    for (const auto cmf : {listed, detailed}) {
        QCOMPARE(E::ResultsVerdict(cmf) == Results::Abnormal, abnormal);
        QCOMPARE(E::ReliabilityVerdict(std::int16_t(c1), std::int16_t(c4), cmf) ==
                     Reliability::Unreliable,
                 unreliable);
    }
}

void EvaluationTest::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("2.4999") << 2.4999 << 2.0;
    QTest::newRow("-2.5001") << -2.5001 << -3.0;
    QTest::newRow("32767.5") << 32767.5 << 32768.0;
}

void EvaluationTest::roundHalfEven()
{
    QFETCH(double, value);
    QTEST(E::RoundHalfEven(value), "rounded");
}

void EvaluationTest::presentation_data()
{
    QTest::addColumn<int>("display");
    QTest::addColumn<QString>("abnormal");
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QColor>("abnormalColour");
    QTest::addColumn<QColor>("normalColour");
    QTest::addColumn<QColor>("unreliableColour");
    const QColor red(255, 0, 0);
    const QColor buttonText; // invalid: the platform's button-text colour
    QTest::newRow("results window") << int(Where::ResultsWindow) << "Abnormal"
                                    << "Normal" << red << QColor(0, 128, 0) << red;
    QTest::newRow("record details") << int(Where::RecordDetails) << "Abnormal"
                                    << "Normal" << red << buttonText << red;
    QTest::newRow("history line") << int(Where::HistoryLine) << "Abnormal"
                                  << "  Normal" << buttonText << buttonText << buttonText;
    QTest::newRow("printed table") << int(Where::PrintedTable) << "Abnormal"
                                   << "  Normal\t" << buttonText << buttonText << buttonText;
}

void EvaluationTest::presentation()
{
    QFETCH(int, display);
    const auto where = Where(display);
    const auto colour = [](const E::Look &look) {
        return look.colour.value_or(QColor());
    };
    const auto abnormal = E::Present(Results::Abnormal, where);
    const auto normal = E::Present(Results::Normal, where);
    QTEST(abnormal.text, "abnormal");
    QTEST(normal.text, "normal");
    QTEST(colour(abnormal), "abnormalColour");
    QTEST(colour(normal), "normalColour");
    QTEST(colour(E::Present(Reliability::Unreliable, where)), "unreliableColour");
    QCOMPARE(E::Present(Reliability::Unreliable, where).text, QStringLiteral("Unreliable"));
    QCOMPARE(E::Present(Reliability::Reliable, where),
             (E::Look{QStringLiteral("Reliable"), std::nullopt}));
}

QTEST_GUILESS_MAIN(EvaluationTest)
#include "EvaluationTest.moc"

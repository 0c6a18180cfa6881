// The held-key run's judgement on a machine that is sometimes too busy:
// keys from a scripted desktop that sends each one on time or a set number
// of milliseconds late, against stored counts that are right, wrong, or
// right only for one of the places a late release may have fallen. A wrong
// count must never be taken for lateness, and lateness never for a pass.
#include "HeldKeyRun.h"

#include <QTest>

#include <map>

namespace {

// Sends nothing and waits for nothing: each key "goes out" at its due time
// plus the lag scripted for its place in the run (the first tap is 0), and
// the call that sends it takes 20 ms.
class ScriptedKeys : public HeldKeyRun::Keys
{
public:
    explicit ScriptedKeys(std::map<int, qint64> lagMs) : m_lagMs(std::move(lagMs)) {}

    std::optional<HeldKeyRun::Span> Taps(qint64 dueMs, const QStringList &) override
    {
        return Sent(dueMs);
    }
    std::optional<HeldKeyRun::Span> Hold(qint64 dueMs, const QString &, qint64 holdMs) override
    {
        return Sent(dueMs + holdMs);
    }

private:
    HeldKeyRun::Span Sent(qint64 dueMs)
    {
        const auto lag = m_lagMs.find(m_sent++);
        const qint64 at = dueMs + (lag == m_lagMs.end() ? 0 : lag->second);
        return {at, at + 20};
    }

    std::map<int, qint64> m_lagMs;
    int m_sent = 0;
};

using Counts = std::array<std::int16_t, HeldKeyRun::CountedIntervals>;

// Places in the run: the first tap, then per interval the held key and its
// taps. Interval 2 holds "e" (place 4) and taps "a", "s", "d" (5 to 7).
constexpr int FirstTap = 0;
constexpr int LastTapOfInterval2 = 7;

} // namespace

Q_DECLARE_METATYPE(Counts)

class HeldKeyRunTest : public QObject
{
    Q_OBJECT

private slots:
    void judgesCounts_data();
    void judgesCounts();
};

void HeldKeyRunTest::judgesCounts_data()
{
    QTest::addColumn<int>("latePlace");
    QTest::addColumn<qint64>("lagMs");
    QTest::addColumn<Counts>("stored");
    QTest::addColumn<bool>("wrong");
    QTest::addColumn<QString>("late");

    // The releases made, interval by interval: 1 4 2 3.
    QTest::newRow("on time, counted exactly")
        << -1 << qint64(0) << Counts{1, 4, 2, 3} << false << QString();
    QTest::newRow("on time, a repeat counted")
        << -1 << qint64(0) << Counts{1, 5, 2, 3} << true << QString();
    QTest::newRow("on time, a release lost")
        << -1 << qint64(0) << Counts{1, 4, 2, 2} << true << QString();
    QTest::newRow("on time, one moved to the next interval")
        << -1 << qint64(0) << Counts{1, 3, 3, 3} << true << QString();
    // 3.8 s into interval 2 and 1.2 s late: it may lie in interval 3.
    QTest::newRow("late past the end, counted where it was due")
        << LastTapOfInterval2 << qint64(1200) << Counts{1, 4, 2, 3} << false
        << QStringLiteral("tap of d at 5000..5070 ms into interval 2");
    QTest::newRow("late past the end, counted in the next interval")
        << LastTapOfInterval2 << qint64(1200) << Counts{1, 3, 3, 3} << false
        << QStringLiteral("tap of d at 5000..5070 ms into interval 2");
    QTest::newRow("late past the end, yet a repeat counted")
        << LastTapOfInterval2 << qint64(1200) << Counts{1, 4, 3, 3} << true
        << QStringLiteral("tap of d");
    QTest::newRow("late, yet still inside its interval")
        << LastTapOfInterval2 << qint64(600) << Counts{1, 4, 2, 3} << false << QString();
    QTest::newRow("first tap late in its second") << FirstTap << qint64(500) << Counts{0, 0, 0, 0}
                                                  << false << QStringLiteral("the first tap at");
}

void HeldKeyRunTest::judgesCounts()
{
    QFETCH(int, latePlace);
    QFETCH(qint64, lagMs);
    QFETCH(Counts, stored);
    QFETCH(bool, wrong);
    QFETCH(QString, late);

    ScriptedKeys keys(latePlace < 0 ? std::map<int, qint64>{}
                                    : std::map<int, qint64>{{latePlace, lagMs}});
    HeldKeyRun run;
    QCOMPARE(run.Play(keys), QString());
    const QString lateText = run.Late();
    if (late.isEmpty())
        QCOMPARE(lateText, QString());
    else
        QVERIFY2(lateText.contains(late), qPrintable(lateText));
    // A run whose first tap came late is not played further: nothing to
    // judge its counts by.
    QCOMPARE(run.Played(), latePlace != FirstTap);
    if (!run.Played())
        return;
    QCOMPARE(run.Released(), (std::array<int, 4>{1, 4, 2, 3}));
    const QString wrongText = run.WrongCounts(stored);
    QCOMPARE(!wrongText.isEmpty(), wrong);
    if (wrong)
        QVERIFY2(wrongText.startsWith(QStringLiteral("stored %1 %2 %3 %4, released 1 4 2 3")
                                          .arg(stored[0])
                                          .arg(stored[1])
                                          .arg(stored[2])
                                          .arg(stored[3])),
                 qPrintable(wrongText));
}

QTEST_GUILESS_MAIN(HeldKeyRunTest)
#include "HeldKeyRunTest.moc"

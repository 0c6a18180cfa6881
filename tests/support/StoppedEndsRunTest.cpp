// The judgement of a run stopped across its interval ends: the releases
// made in each interval, and how many releases a program must at least
// have counted in another interval to store the counts it stored, among
// them the counts the program stored before it placed releases by when
// they were made.
#include "StoppedEndsRun.h"

#include <QTest>

using Counts = StoppedEndsRun::Counts;
Q_DECLARE_METATYPE(Counts)

class StoppedEndsRunTest : public QObject
{
    Q_OBJECT

private slots:
    void misplaced_data();
    void misplaced();
};

void StoppedEndsRunTest::misplaced_data()
{
    QTest::addColumn<bool>("after");
    QTest::addColumn<Counts>("stored");
    QTest::addColumn<int>("misplaced");
    // Made in intervals 1 to 4: 3, 2, 3, 2 taps; 2, 1, 2, 1 releases
    // before their ends; with releases after the ends, one more in
    // intervals 2 and 4.
    QTest::newRow("every release where it was made") << false << Counts{5, 3, 5, 3} << 0;
    QTest::newRow("every release before an end counted after it")
        << false << Counts{4, 4, 4, 4} << 2;
    QTest::newRow("the last one lost") << false << Counts{5, 3, 5, 2} << 1;
    QTest::newRow("with releases after the ends") << true << Counts{5, 4, 5, 4} << 0;
    QTest::newRow("releases after the ends counted before them") << true << Counts{6, 3, 6, 4} << 2;
    // What the program stored before, on X11.
    QTest::newRow("counted where handled") << true << Counts{4, 5, 4, 7} << 4;
}

void StoppedEndsRunTest::misplaced()
{
    QFETCH(bool, after);
    QFETCH(Counts, stored);
    QFETCH(int, misplaced);
    const StoppedEndsRun run(after);
    QCOMPARE(run.Released(), (std::array<int, 4>{5, after ? 4 : 3, 5, after ? 4 : 3}));
    QCOMPARE(run.EdgeReleases(), after ? 10 : 7);
    QCOMPARE(run.Misplaced(stored), misplaced);
    QCOMPARE(run.Exact(stored), misplaced == 0);
}

QTEST_GUILESS_MAIN(StoppedEndsRunTest)
#include "StoppedEndsRunTest.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics of the fairness report against published chi-square tables and counts worked
// out by hand, its verdict, and its check of the rolls: a fault here would let the report call
// any dice fair.

#include "fairness/dice_statistics.h"
#include "fairness/roll_session.h"

#include <QTest>
#include <array>
#include <numeric>

using namespace talvero::fairness;
using namespace Qt::StringLiterals;

class FairnessStatisticsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pValuesMatchThePublishedTable();
    void chiSquareOfCounts();
    void diceTakenInPairsAndAcrossReseeds();
    void verdictSharesTheFalseAlarmChance();
    void aTwinGoneAstrayStopsTheRun();
};

void FairnessStatisticsTest::pValuesMatchThePublishedTable()
{
    // Upper critical values of the chi-square distribution as printed in the NIST/SEMATECH
    // e-Handbook of Statistical Methods (table 1.3.6.7.4), to three decimals: df, value, p.
    const struct
    {
        int df;
        double critical, p;
    } table[] = {{1, 3.841, 0.05},  {1, 10.828, 0.001}, {5, 15.086, 0.01},   {8, 15.507, 0.05},
                 {9, 14.684, 0.10}, {9, 27.877, 0.001}, {80, 101.879, 0.05}, {99, 134.642, 0.01},
                 {99, 77.046, 0.95}}; // the last: lower 5 %
    // Three printed decimals leave the p-value uncertain in its third significant digit.
    for (const auto &row : table)
        QVERIFY2(std::abs(chiSquarePValue(row.critical, row.df) - row.p) < row.p * 2e-3,
                 qPrintable(u"%1 df at %2"_s.arg(row.df).arg(row.critical)));
}

void FairnessStatisticsTest::chiSquareOfCounts()
{
    // 60 dice expected 20 to a face: (10 - 20)² / 20 + 0 + (30 - 20)² / 20 = 10, 2 df.
    const std::array<std::uint64_t, 3> counts{10, 20, 30};
    const auto test = testEqualCells(counts);
    QVERIFY(test.has_value());
    QCOMPARE(test->chi2, 10.0);
    QCOMPARE(test->degreesOfFreedom, 2);
    // With 2 df the upper tail is exp(-x / 2).
    QVERIFY(std::abs(test->pValue - std::exp(-5.0)) < 1e-12);
    const std::array<std::uint64_t, 4> even{25, 25, 25, 25};
    QCOMPARE(testEqualCells(even)->pValue, 1.0);
    // An empty tally, or one too small to judge, must not read as perfectly fair dice.
    using Counts = std::vector<std::uint64_t>;
    QVERIFY(!testEqualCells(Counts(6, 0)));
    QVERIFY(!testEqualCells(Counts{5, 5, 5, 5, 5, 4}));
    QVERIFY(testEqualCells(Counts(6, 5)));
    QVERIFY(!testEqualCells(Counts{1000})); // one cell
}

void FairnessStatisticsTest::diceTakenInPairsAndAcrossReseeds()
{
    DiceTally tally(3);
    const std::array<std::int16_t, 3> first{1, 2, 3};
    const std::array<std::int16_t, 3> second{2, 3, 3};
    tally.addRoll(first);
    tally.addRoll(second);
    // Faces: 1 once, 2 twice, 3 three times. Pairs in the stream 1 2 3 2 3 3: (1,2), (3,2),
    // (3,3). Across the re-seed: the first roll's last 3 and the second's first 2.
    QCOMPARE(tally.faceCounts(), (std::vector<std::uint64_t>{1, 2, 3}));
    QCOMPARE(tally.pairCounts(), (std::vector<std::uint64_t>{0, 1, 0, 0, 0, 0, 0, 1, 1}));
    QCOMPARE(tally.reseedPairCounts(), (std::vector<std::uint64_t>{0, 0, 0, 0, 0, 0, 0, 1, 0}));
    QCOMPARE(tally.dice(), 6ull);
    // 6 dice, 2 expected a face: face 3 lies one above its share, face 1 one below.
    QVERIFY(std::abs(tally.deviation(3) - 1.0) < 1e-12);
    QVERIFY(std::abs(tally.standardDeviation() - std::sqrt(6.0 * 2.0 / 9.0)) < 1e-12);
    QVERIFY(std::abs(tally.largestShareDeviationPerMille() - 1000.0 * (3.0 / 6.0 - 1.0 / 3.0)) <
            1e-9);

    // A roll of four-sided dice 2 1 4 1 3 2 2: its 1s thrown again as 4 3, then its 2s and 3s as
    // 1 4 2 2. Each die beside the face it first showed, in the roll's order: (1,4) (1,3), then
    // (2,1) (3,4) (2,2) (2,2).
    const std::array<std::int16_t, 7> roll{2, 1, 4, 1, 3, 2, 2};
    const std::array<std::int16_t, 2> ones{4, 3};
    const std::array<std::int16_t, 4> twosAndThrees{1, 4, 2, 2};
    std::vector<std::uint64_t> rerolled(3 * 4, 0);
    addRerollPairs(roll, 1, 1, ones, 4, rerolled);
    addRerollPairs(roll, 2, 3, twosAndThrees, 4, rerolled);
    QCOMPARE(rerolled, (std::vector<std::uint64_t>{0, 0, 1, 1, 1, 2, 0, 0, 0, 0, 0, 1}));
    // A reroll that threw another number of dice than it took is no pair at all.
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, addRerollPairs(roll, 1, 2, ones, 4, rerolled));
}

void FairnessStatisticsTest::verdictSharesTheFalseAlarmChance()
{
    // 27 tests share 5 %: each is judged against 0.05 / 27 = 0.00185...
    std::vector<double> pValues(27, 0.5);
    pValues[7] = 0.0019;
    QVERIFY(judge(pValues).fair);
    QVERIFY(std::abs(judge(pValues).threshold - 0.05 / 27) < 1e-15);
    pValues[7] = 0.0018;
    QVERIFY(!judge(pValues).fair);
    QCOMPARE(judge(pValues).smallestP, 0.0018);
    QVERIFY(!judge({}).fair);
}

void FairnessStatisticsTest::aTwinGoneAstrayStopsTheRun()
{
    ClickSchedule schedule(7);
    const SidesRun agreed = rollSides(6, 50, 11, schedule);
    QVERIFY2(agreed.failure.empty(), agreed.failure.c_str());
    QCOMPARE(agreed.tally.dice(), 50ull * kDicePerRoll);
    // Each roll's 1s, 2s and 3s were rerolled, retraced too: about half its dice.
    const auto sum = [](const auto &counts) {
        return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    };
    const std::uint64_t rerolled = sum(agreed.rerolledFaces);
    QVERIFY(rerolled > 50 * kDicePerRoll / 3 && rerolled < 50 * kDicePerRoll * 2 / 3);
    // Each of them paired with its first face, 1 to 3.
    QCOMPARE(agreed.rerollPairs.size(), 3u * 6u);
    QCOMPARE(sum(agreed.rerollPairs), rerolled);
    // A twin that does not retrace the rolls stops the run at once, with nothing tallied to judge.
    const SidesRun astray = rollSides(6, 50, 11, schedule, 12);
    QVERIFY(astray.failure.starts_with("6 sides, roll 1: the window counted"));
    QCOMPARE(astray.tally.dice(), 0ull);
    QVERIFY(!testEqualCells(astray.tally.faceCounts()));
}

QTEST_APPLESS_MAIN(FairnessStatisticsTest)
#include "test_fairness_statistics.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of the fairness report: the chi-square figures, the tallies of faces and pairs,
// the clicking clock, the retraced rolls and the check of program starts.

#include "fairness/click_clock.h"
#include "fairness/dice_statistics.h"
#include "fairness/fairness_chart.h"
#include "fairness/roll_session.h"

#include <QTest>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

using namespace talvero;
using namespace talvero::fairness;

namespace {

Microseconds at(int hour, int minute, int second, int microsecond = 0)
{
    constexpr Microseconds perHour = 60 * kMicrosecondsPerMinute;
    return hour * perHour + minute * kMicrosecondsPerMinute + second * kMicrosecondsPerSecond +
           microsecond;
}

} // namespace

class FairnessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pValuesMatchTables_data();
    void pValuesMatchTables();
    void pValueOfNothingIsOne();
    void chiSquareOfCounts();
    void tallyOfFacesAndPairs();
    void tallyRejectsFacesOffTheDie();
    void timeOfDayFromMicroseconds();
    void clockTicksBetweenReads();
    void scheduleClicksSeveralTimesASecond();
    void twinRetracesEveryRoll();
    void twinOnAnotherClockIsCaught();
    void captionsAreCompared();
    void sessionOfRolls();
    void startsWithOwnSeedsDoNotReplay();
    void startsWithOneSeedReplay();
    void pictureIsDrawn();
};

void FairnessTest::pValuesMatchTables_data()
{
    QTest::addColumn<double>("chi2");
    QTest::addColumn<int>("degreesOfFreedom");
    QTest::addColumn<double>("pValue");
    // Critical values of the chi-square distribution as printed in statistical tables.
    QTest::newRow("1 df, 5 %") << 3.841 << 1 << 0.05;
    QTest::newRow("5 df, 5 %") << 11.070 << 5 << 0.05;
    QTest::newRow("9 df, 1 %") << 21.666 << 9 << 0.01;
    QTest::newRow("35 df, 5 %") << 49.802 << 35 << 0.05;
    QTest::newRow("99 df, 5 %") << 123.225 << 99 << 0.05;
    // With 2 degrees of freedom the tail is exp(-x / 2).
    QTest::newRow("2 df, exact") << 2.0 * std::log(4.0) << 2 << 0.25;
}

void FairnessTest::pValuesMatchTables()
{
    QFETCH(double, chi2);
    QFETCH(int, degreesOfFreedom);
    QFETCH(double, pValue);
    // The tables round to three decimals.
    constexpr double relativeTolerance = 2e-3;
    const double p = chiSquarePValue(chi2, degreesOfFreedom);
    QVERIFY2(std::abs(p - pValue) <= relativeTolerance * pValue,
             qPrintable(QStringLiteral("p = %1").arg(p)));
}

void FairnessTest::pValueOfNothingIsOne()
{
    QCOMPARE(chiSquarePValue(0.0, 5), 1.0);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, chiSquarePValue(1.0, 0));
}

void FairnessTest::chiSquareOfCounts()
{
    // Expected 20 each: (10 - 20)^2 / 20 + 0 + (30 - 20)^2 / 20.
    const std::array<std::uint64_t, 3> uneven{10, 20, 30};
    QCOMPARE(chiSquareEqualCells(uneven), 10.0);
    const ChiSquareTest test = testEqualCells(uneven);
    QCOMPARE(test.degreesOfFreedom, 2);
    QVERIFY(std::abs(test.pValue - std::exp(-5.0)) < 1e-12);

    const std::array<std::uint64_t, 4> even{5, 5, 5, 5};
    QCOMPARE(chiSquareEqualCells(even), 0.0);
    QCOMPARE(testEqualCells(even).pValue, 1.0);
}

void FairnessTest::tallyOfFacesAndPairs()
{
    DiceTally tally(3);
    const std::array<std::int16_t, 4> first{1, 2, 3, 3};
    const std::array<std::int16_t, 3> second{2, 1, 1};
    tally.addRoll(first);
    tally.addRoll(second);

    QCOMPARE(tally.dice(), std::uint64_t{7});
    QCOMPARE(tally.faceCounts(), (std::vector<std::uint64_t>{3, 2, 2}));
    // The stream 1 2 3 3 2 1 1 in disjoint pairs: (1,2) (3,3) (2,1), the last die waits.
    std::vector<std::uint64_t> pairs(9);
    pairs[0 * 3 + 1] = 1;
    pairs[2 * 3 + 2] = 1;
    pairs[1 * 3 + 0] = 1;
    QCOMPARE(tally.pairCounts(), pairs);
    // Across the re-seed: the 3 that ended the first roll, the 2 that began the second.
    std::vector<std::uint64_t> reseed(9);
    reseed[2 * 3 + 1] = 1;
    QCOMPARE(tally.reseedPairCounts(), reseed);

    QVERIFY(std::abs(tally.deviation(1) - (3.0 - 7.0 / 3.0)) < 1e-12);
    QVERIFY(std::abs(tally.deviation(2) - (2.0 - 7.0 / 3.0)) < 1e-12);
    QVERIFY(std::abs(tally.standardDeviation() - std::sqrt(7.0 * 2.0 / 9.0)) < 1e-12);
    // Face 1 has 3/7 of the dice instead of 1/3.
    QVERIFY(std::abs(tally.largestShareDeviationPerMille() - 1000.0 * (3.0 / 7.0 - 1.0 / 3.0)) <
            1e-9);

    // The pending die pairs with the first die of the next roll.
    const std::array<std::int16_t, 1> third{3};
    tally.addRoll(third);
    QCOMPARE(tally.pairCounts()[0 * 3 + 2], std::uint64_t{1});
    QCOMPARE(tally.reseedPairCounts()[0 * 3 + 2], std::uint64_t{1});
}

void FairnessTest::tallyRejectsFacesOffTheDie()
{
    DiceTally tally(6);
    const std::array<std::int16_t, 2> tooHigh{1, 7};
    const std::array<std::int16_t, 2> zero{0, 3};
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, tally.addRoll(tooHigh));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, tally.addRoll(zero));
    QCOMPARE(tally.dice(), std::uint64_t{0});
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, DiceTally(1));
}

void FairnessTest::timeOfDayFromMicroseconds()
{
    auto same = [](TimeOfDay t, int minute, int second) {
        return t.minute == minute && t.second == second;
    };
    QVERIFY(same(timeOfDay(0), 0, 0));
    QVERIFY(same(timeOfDay(at(0, 0, 59, 999'999)), 0, 59));
    QVERIFY(same(timeOfDay(at(0, 1, 0)), 1, 0));
    QVERIFY(same(timeOfDay(at(13, 7, 42, 500'000)), 7, 42));
    QVERIFY(same(timeOfDay(at(23, 59, 59, 999'999)), 59, 59));
    // The next day starts at midnight again.
    QVERIFY(same(timeOfDay(kMicrosecondsPerDay + at(0, 2, 3)), 2, 3));
}

void FairnessTest::clockTicksBetweenReads()
{
    ClickClock clock;
    // One microsecond before a full minute: the seconds and minutes turn after the first read.
    clock.setTime(at(10, 34, 59, 999'999));
    const TimeOfDay first = clock.now();
    const TimeOfDay second = clock.now();
    QCOMPARE(first.minute, 34);
    QCOMPARE(first.second, 59);
    QCOMPARE(second.minute, 35);
    QCOMPARE(second.second, 0);

    // Setting the time again replays the same readings: what a twin engine needs.
    clock.setTime(at(10, 34, 59, 999'999));
    QCOMPARE(clock.now().second, 59);
}

void FairnessTest::scheduleClicksSeveralTimesASecond()
{
    ClickSchedule schedule(12345);
    // At least 100 ms apart, so 40,000 clicks span more than an hour.
    constexpr int clicks = 40'000;
    std::set<int> minutes;
    std::set<int> seconds;
    std::map<Microseconds, int> clicksPerSecond;
    Microseconds previous = schedule.next();
    Microseconds total = 0;
    for (int i = 0; i < clicks; ++i) {
        const Microseconds click = schedule.next();
        QVERIFY(click >= 0 && click < kMicrosecondsPerDay);
        const Microseconds gap = (click - previous + kMicrosecondsPerDay) % kMicrosecondsPerDay;
        QVERIFY(gap >= ClickSchedule::kShortestGap && gap <= ClickSchedule::kLongestGap);
        total += gap;
        previous = click;
        minutes.insert(timeOfDay(click).minute);
        seconds.insert(timeOfDay(click).second);
        ++clicksPerSecond[click / kMicrosecondsPerSecond];
    }
    // Every minute and every second comes round, 0 included.
    QCOMPARE(minutes.size(), std::size_t{60});
    QCOMPARE(seconds.size(), std::size_t{60});
    int busiest = 0;
    for (const auto &[second, count] : clicksPerSecond)
        busiest = std::max(busiest, count);
    QVERIFY(busiest >= 3);
    QVERIFY(busiest <= 10);
    QVERIFY(schedule.elapsed() >= total);
}

void FairnessTest::twinRetracesEveryRoll()
{
    ClickSchedule schedule(99);
    for (int sides = 2; sides <= DiceEngine::kFaceCount; ++sides) {
        ClickClock windowClock;
        ClickClock twinClock;
        ClickReplay replay(windowClock, twinClock, 0xC0FFEEu + static_cast<unsigned>(sides));
        for (int roll = 0; roll < 200; ++roll) {
            const Microseconds click = schedule.next();
            windowClock.setTime(click);
            twinClock.setTime(click);
            QVERIFY(replay.click(sides));
            QCOMPARE(replay.faces().size(), std::size_t{kDicePerRoll});
            for (const std::int16_t face : replay.faces())
                QVERIFY(face >= 1 && face <= sides);
        }
    }
}

void FairnessTest::twinOnAnotherClockIsCaught()
{
    // The twin re-seeds from another second: its dice are not the roll's, and the captions
    // must say so.
    FrozenClock windowClock({12, 34});
    FrozenClock twinClock({12, 35});
    ClickReplay replay(windowClock, twinClock, 7);
    QVERIFY(!replay.click(6));
}

void FairnessTest::captionsAreCompared()
{
    CaptionRow row(DiceEngine::kFaceCount);
    row.setCaption(0, "3");
    row.setCaption(5, "1000000");
    std::array<std::uint64_t, DiceEngine::kFaceCount> counts{};
    counts[0] = 3;
    counts[5] = 1'000'000;
    QVERIFY(captionsShow(row, counts));
    counts[5] = 999'999;
    QVERIFY(!captionsShow(row, counts));
    counts[5] = 1'000'000;
    counts[9] = 1;
    QVERIFY(!captionsShow(row, counts));
}

void FairnessTest::sessionOfRolls()
{
    ClickSchedule schedule(4);
    constexpr std::uint64_t rolls = 1'000;
    const SidesRun run = rollSides(6, rolls, 42, schedule);
    QCOMPARE(run.rolls, rolls);
    QCOMPARE(run.mismatchedRolls, std::uint64_t{0});
    QCOMPARE(run.tally.dice(), rolls * kDicePerRoll);
    std::uint64_t pairs = 0;
    for (const std::uint64_t count : run.tally.pairCounts())
        pairs += count;
    QCOMPARE(pairs, rolls * kDicePerRoll / 2);
    std::uint64_t reseedPairs = 0;
    for (const std::uint64_t count : run.tally.reseedPairCounts())
        reseedPairs += count;
    QCOMPARE(reseedPairs, rolls - 1);
}

void FairnessTest::startsWithOwnSeedsDoNotReplay()
{
    std::uint64_t next = 1;
    const StartsRun run = checkStarts(500, 6, {12, 34}, [&] { return next++; });
    QCOMPARE(run.starts, 500);
    QCOMPARE(run.mismatchedRolls, 0);
    QCOMPARE(run.replayedFirstRolls, 0);
}

void FairnessTest::startsWithOneSeedReplay()
{
    // Without a seed of their own, all starts in one second throw the same first roll.
    const StartsRun same = checkStarts(100, 6, {12, 34}, [] { return std::uint64_t{5}; });
    QCOMPARE(same.replayedFirstRolls, 99);
    int start = 0;
    const StartsRun two = checkStarts(100, 6, {0, 0}, [&] { return std::uint64_t(start++ % 2); });
    QCOMPARE(two.replayedFirstRolls, 98);
}

void FairnessTest::pictureIsDrawn()
{
    std::vector<ChartPanel> panels;
    for (int sides = 2; sides <= DiceEngine::kFaceCount; ++sides) {
        ChartPanel panel;
        panel.sides = sides;
        for (int face = 1; face <= sides; ++face)
            panel.deviations.push_back(face % 2 == 0 ? 100.0 * face : -100.0 * face);
        panel.standardDeviation = 500.0;
        panel.pValue = 0.5;
        panels.push_back(panel);
    }
    const QImage image = drawFairnessChart(
        panels, {QStringLiteral("Title"), QStringLiteral("Subtitle"), QStringLiteral("Footer")});
    QVERIFY(!image.isNull());
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QVERIFY(image.height() > image.width() / 2);
}

QTEST_MAIN(FairnessTest)
#include "test_fairness.moc"

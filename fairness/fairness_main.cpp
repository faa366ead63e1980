// SPDX-License-Identifier: GPL-3.0-or-later
// The fairness report behind `make fairness`: for every number of sides, 10^8 dice thrown as
// clicks on "Würfeln" with a ticking clock, each roll's 1s and fails rerolled as through the
// menu, the tests of their faces, of consecutive pairs and of the rerolled dice, alone and beside
// the faces they first showed, then many program starts in one second. Every roll is retraced
// first; only when all agree does it print one line per figure ("name: value unit") with the
// verdict, and draw the picture of the face counts.
// Usage: talvero_fairness [picture.png]   (default: fairness.png)
// Exit status: 0 fair, 3 unfair, 1 when a roll was not retraced or the picture not written.

#include "engine/clock.h"
#include "engine/start_seed.h"
#include "fairness/click_clock.h"
#include "fairness/dice_statistics.h"
#include "fairness/fairness_chart.h"
#include "fairness/roll_session.h"

#include <QDate>
#include <QGuiApplication>
#include <QLocale>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace talvero::fairness;

constexpr int kFewestSides = 2;
constexpr int kMostSides = talvero::DiceEngine::kFaceCount;
constexpr std::uint64_t kRollsPerSides = 500'000; // 10^8 dice
constexpr int kStarts = 10'000;
constexpr int kStartSides = 6; // the window's designed number of sides
constexpr double kPerCent = 100.0;
constexpr double kSecondsPerDay = 86'400.0;
// Exit statuses: the dice were judged unfair, or the run itself could not be trusted.
constexpr int kUnfair = 3;
constexpr int kFailed = 1;

void printPValue(const char *name, int sides, double p)
{
    // Three decimals read well; smaller values keep their magnitude.
    constexpr double smallest = 0.001;
    if (p >= smallest)
        std::printf("fairness.M%d.%s: %.3f\n", sides, name, p);
    else
        std::printf("fairness.M%d.%s: %.2e\n", sides, name, p);
}

// "<prefix>chi2" and "<prefix>chi2_p".
void printTest(const std::string &prefix, int sides, const ChiSquareTest &test)
{
    std::printf("fairness.M%d.%schi2: %.3f (%d df)\n", sides, prefix.c_str(), test.chi2,
                test.degreesOfFreedom);
    printPValue((prefix + "chi2_p").c_str(), sides, test.pValue);
}

int fail(const std::string &what)
{
    std::fprintf(stderr, "talvero_fairness: %s; no figures, no picture\n", what.c_str());
    return kFailed;
}

// The tests of one number of sides' dice: faces, consecutive pairs, pairs across a re-seed, the
// rerolled dice's faces, and those faces each beside the face the die first showed.
struct SidesTests
{
    int sides = 0;
    ChiSquareTest faces;
    ChiSquareTest pairs;
    ChiSquareTest reseedPairs;
    ChiSquareTest rerolledFaces;
    // None where only the 1s are rerolled: the pairs would be the rerolled faces again.
    std::optional<ChiSquareTest> rerollPairs;
};

} // namespace

int main(int argc, char *argv[])
{
    // Fonts for the picture, no display needed.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    const QString picturePath =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("fairness.png");
    const auto started = std::chrono::steady_clock::now();

    // First every roll, each retraced: a figure drawn from dice the twin did not retrace would
    // say nothing about the real ones.
    ClickSchedule schedule(talvero::startSeed());
    std::vector<SidesRun> runs;
    for (int sides = kFewestSides; sides <= kMostSides; ++sides) {
        // A program start for every number of sides, then one long session of clicks.
        runs.push_back(rollSides(sides, kRollsPerSides, talvero::startSeed(), schedule));
        if (!runs.back().failure.empty())
            return fail("the retraced dice differ from the real roll, " + runs.back().failure);
    }
    // Many starts in the second the check begins, the clock stopped there.
    talvero::SystemClock systemClock;
    const StartsRun starts =
        checkStarts(kStarts, kStartSides, systemClock.now(), [] { return talvero::startSeed(); });
    if (!starts.failure.empty())
        return fail("the retraced dice differ from the real roll, " + starts.failure);

    std::vector<SidesTests> tests;
    for (const SidesRun &run : runs) {
        const auto faces = testEqualCells(run.tally.faceCounts());
        const auto pairs = testEqualCells(run.tally.pairCounts());
        const auto reseed = testEqualCells(run.tally.reseedPairCounts());
        const auto rerolled = testEqualCells(run.rerolledFaces);
        const bool onlyOnes = rerollThreshold(run.tally.sides()) <= 2;
        const auto rerollPairs = onlyOnes ? std::nullopt : testEqualCells(run.rerollPairs);
        if (!faces || !pairs || !reseed || !rerolled || (!onlyOnes && !rerollPairs))
            return fail("too few dice with " + std::to_string(run.tally.sides()) +
                        " sides to judge (" + std::to_string(run.tally.dice()) + ")");
        tests.push_back({run.tally.sides(), *faces, *pairs, *reseed, *rerolled, rerollPairs});
    }

    std::uint64_t rolls = 0;
    std::uint64_t zeroSeedRolls = 0;
    std::uint64_t splitReadRolls = 0;
    std::vector<double> pValues;
    std::vector<ChartPanel> panels;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const SidesRun &run = runs[i];
        const SidesTests &test = tests[i];
        std::printf("fairness.M%d.dice: %llu dice\n", test.sides,
                    static_cast<unsigned long long>(run.tally.dice()));
        printTest("", test.sides, test.faces);
        printTest("serial_", test.sides, test.pairs);
        printTest("reseed_serial_", test.sides, test.reseedPairs);
        std::printf("fairness.M%d.largest_share_deviation: %.4f permille\n", test.sides,
                    run.tally.largestShareDeviationPerMille());
        std::uint64_t rerolledDice = 0;
        for (const std::uint64_t count : run.rerolledFaces)
            rerolledDice += count;
        // With two or three sides the fails below the middle threshold are the 1s again.
        if (rerollThreshold(test.sides) > 2)
            std::printf("fairness.M%d.reroll_dice: %llu dice (the 1s, then the fails below %d+)\n",
                        test.sides, static_cast<unsigned long long>(rerolledDice),
                        rerollThreshold(test.sides));
        else
            std::printf("fairness.M%d.reroll_dice: %llu dice (the 1s)\n", test.sides,
                        static_cast<unsigned long long>(rerolledDice));
        printTest("reroll_", test.sides, test.rerolledFaces);
        pValues.insert(pValues.end(), {test.faces.pValue, test.pairs.pValue,
                                       test.reseedPairs.pValue, test.rerolledFaces.pValue});
        if (test.rerollPairs) {
            printTest("reroll_pairs_", test.sides, *test.rerollPairs);
            pValues.push_back(test.rerollPairs->pValue);
        }

        ChartPanel panel;
        panel.sides = test.sides;
        for (int face = 1; face <= test.sides; ++face)
            panel.deviations.push_back(run.tally.deviation(face));
        panel.standardDeviation = run.tally.standardDeviation();
        panel.pValue = test.faces.pValue;
        panel.rerollPValue = test.rerolledFaces.pValue;
        panels.push_back(std::move(panel));

        rolls += run.rolls;
        zeroSeedRolls += run.zeroSeedRolls;
        splitReadRolls += run.splitReadRolls;
    }

    std::printf("fairness.clock.rolls: %llu rolls\n", static_cast<unsigned long long>(rolls));
    std::printf("fairness.clock.span: %.1f days\n",
                static_cast<double>(schedule.elapsed()) / kMicrosecondsPerSecond / kSecondsPerDay);
    std::printf("fairness.clock.zero_seed_share: %.2f %%\n",
                kPerCent * static_cast<double>(zeroSeedRolls) / static_cast<double>(rolls));
    std::printf("fairness.clock.seconds_turned_between_reads: %llu rolls\n",
                static_cast<unsigned long long>(splitReadRolls));
    std::printf("fairness.starts.engines: %d starts\n", starts.starts);
    std::printf("fairness.starts.replayed_first_rolls: %d starts\n", starts.replayedFirstRolls);

    // No start may replay another's first roll either.
    const Verdict verdict = judge(pValues);
    const bool fair = verdict.fair && starts.replayedFirstRolls == 0;
    std::printf("fairness.smallest_p: %.3g (of %zu, each judged against %.3g)\n", verdict.smallestP,
                pValues.size(), verdict.threshold);
    std::printf("fairness.verdict: %s\n", fair ? "fair" : "unfair");
    std::fflush(stdout);

    const QLocale english(QLocale::English);
    ChartText text;
    text.title = QStringLiteral("Is it fair? %1 dice for each number of sides")
                     .arg(english.toString(static_cast<qulonglong>(kRollsPerSides * kDicePerRoll)));
    text.subtitle =
        QStringLiteral("Each bar shows how many more (up) or fewer (down) dice showed a face than "
                       "its fair share, 1 in M of all dice. The dice were thrown as hit rolls of "
                       "%1, each re-seeded from a ticking clock as a click on \u201cWürfeln\u201d "
                       "is, then rerolled as a player does: the 1s, then the fails below the "
                       "middle threshold. The green bands are what chance alone fills: even with "
                       "perfect dice, about 1 bar in 22 ends outside the inner one.")
            .arg(kDicePerRoll);
    text.footer = QStringLiteral("talvero_fairness, %1. Verdict: %2. χ² p: the chance that fair "
                                 "dice stray at least this far; rerolled: of the rerolled dice's "
                                 "faces. Rerun: make fairness")
                      .arg(QDate::currentDate().toString(Qt::ISODate),
                           fair ? QStringLiteral("fair") : QStringLiteral("unfair"));
    const QImage picture = drawFairnessChart(panels, text);
    if (!picture.save(picturePath, "PNG")) {
        std::fprintf(stderr, "talvero_fairness: cannot write %s\n", qPrintable(picturePath));
        return kFailed;
    }
    std::fprintf(stderr, "talvero_fairness: wrote %s\n", qPrintable(picturePath));

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("fairness.run_time: %.1f s\n", seconds);
    return fair ? 0 : kUnfair;
}

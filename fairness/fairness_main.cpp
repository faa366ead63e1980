// SPDX-License-Identifier: GPL-3.0-or-later
// The fairness report behind `make fairness`: for every number of sides, 10^8 dice thrown as
// clicks on "Würfeln" with a ticking clock, the tests of their faces and of consecutive pairs,
// then many program starts in one second. Prints one line per figure ("name: value unit") and
// draws the picture of the face counts.
// Usage: talvero_fairness [picture.png]   (default: fairness.png)

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
#include <random>
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

std::uint64_t entropy()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts for the picture, no display needed.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    const QString picturePath =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("fairness.png");
    const auto started = std::chrono::steady_clock::now();

    ClickSchedule schedule(entropy());
    std::vector<ChartPanel> panels;
    std::uint64_t rolls = 0;
    std::uint64_t mismatched = 0;
    std::uint64_t zeroSeedRolls = 0;
    std::uint64_t splitReadRolls = 0;

    for (int sides = kFewestSides; sides <= kMostSides; ++sides) {
        // A program start for every number of sides, then one long session of clicks.
        const SidesRun run = rollSides(sides, kRollsPerSides, talvero::startSeed(), schedule);
        const ChiSquareTest faces = testEqualCells(run.tally.faceCounts());
        const ChiSquareTest pairs = testEqualCells(run.tally.pairCounts());
        const ChiSquareTest reseed = testEqualCells(run.tally.reseedPairCounts());

        std::printf("fairness.M%d.dice: %llu dice\n", sides,
                    static_cast<unsigned long long>(run.tally.dice()));
        printTest("", sides, faces);
        printTest("serial_", sides, pairs);
        printTest("reseed_serial_", sides, reseed);
        std::printf("fairness.M%d.largest_share_deviation: %.4f permille\n", sides,
                    run.tally.largestShareDeviationPerMille());
        std::printf("fairness.M%d.mismatched_rolls: %llu rolls\n", sides,
                    static_cast<unsigned long long>(run.mismatchedRolls));
        std::fflush(stdout);

        ChartPanel panel;
        panel.sides = sides;
        for (int face = 1; face <= sides; ++face)
            panel.deviations.push_back(run.tally.deviation(face));
        panel.standardDeviation = run.tally.standardDeviation();
        panel.pValue = faces.pValue;
        panels.push_back(std::move(panel));

        rolls += run.rolls;
        mismatched += run.mismatchedRolls;
        zeroSeedRolls += run.zeroSeedRolls;
        splitReadRolls += run.splitReadRolls;
    }

    std::printf("fairness.clock.rolls: %llu rolls\n", static_cast<unsigned long long>(rolls));
    std::printf("fairness.clock.span: %.1f days\n",
                static_cast<double>(schedule.elapsed()) / kMicrosecondsPerSecond / kSecondsPerDay);
    std::printf("fairness.clock.zero_seed_share: %.2f %%\n",
                rolls == 0
                    ? 0.0
                    : kPerCent * static_cast<double>(zeroSeedRolls) / static_cast<double>(rolls));
    std::printf("fairness.clock.seconds_turned_between_reads: %llu rolls\n",
                static_cast<unsigned long long>(splitReadRolls));

    // Many starts in the second the check begins, the clock stopped there.
    talvero::SystemClock systemClock;
    const StartsRun starts =
        checkStarts(kStarts, kStartSides, systemClock.now(), [] { return talvero::startSeed(); });
    std::printf("fairness.starts.engines: %d starts\n", starts.starts);
    std::printf("fairness.starts.replayed_first_rolls: %d starts\n", starts.replayedFirstRolls);
    std::printf("fairness.starts.mismatched_rolls: %d rolls\n", starts.mismatchedRolls);

    const QLocale english(QLocale::English);
    ChartText text;
    text.title = QStringLiteral("Is it fair? %1 dice for each number of sides")
                     .arg(english.toString(static_cast<qulonglong>(kRollsPerSides * kDicePerRoll)));
    text.subtitle =
        QStringLiteral("Each bar shows how many more (up) or fewer (down) dice showed a face than "
                       "its fair share, 1 in M of all dice. The dice were thrown as hit rolls of "
                       "%1, each re-seeded from a ticking clock as a click on \u201cWürfeln\u201d "
                       "is. The green bands are what chance alone fills: even with perfect dice, "
                       "about 1 bar in 22 ends outside the inner one.")
            .arg(kDicePerRoll);
    text.footer = QStringLiteral("talvero_fairness, %1. χ² p: the chance that fair dice stray at "
                                 "least this far. Rerun: make fairness")
                      .arg(QDate::currentDate().toString(Qt::ISODate));
    const QImage picture = drawFairnessChart(panels, text);
    if (!picture.save(picturePath, "PNG")) {
        std::fprintf(stderr, "talvero_fairness: cannot write %s\n", qPrintable(picturePath));
        return 1;
    }
    std::fprintf(stderr, "talvero_fairness: wrote %s\n", qPrintable(picturePath));

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("fairness.run_time: %.1f s\n", seconds);

    if (mismatched != 0 || starts.mismatchedRolls != 0) {
        std::fprintf(stderr, "talvero_fairness: the retraced dice differ from the real rolls\n");
        return 1;
    }
    if (starts.replayedFirstRolls != 0) {
        std::fprintf(stderr, "talvero_fairness: program starts replayed an earlier first roll\n");
        return 1;
    }
    return 0;
}

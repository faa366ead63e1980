// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace talvero::fairness {

// Pearson's chi-square of counts against equal expected counts (all cells equally likely).
double chiSquareEqualCells(std::span<const std::uint64_t> counts);

// The chance that a chi-square variable with this many degrees of freedom reaches `chi2` or more.
double chiSquarePValue(double chi2, int degreesOfFreedom);

struct ChiSquareTest
{
    double chi2 = 0.0;
    int degreesOfFreedom = 0;
    double pValue = 1.0;
};

// The chi-square approximation holds once every cell expects this many or more.
constexpr double kFewestExpectedPerCell = 5.0;

// The test of counts whose cells are all equally likely, with cells - 1 degrees of freedom; none
// for fewer than two cells or too few counts to judge, so that a tally left empty by a fault can
// never pass for fair dice.
std::optional<ChiSquareTest> testEqualCells(std::span<const std::uint64_t> counts);

// The verdict over several tests: fair when none of their p-values lies below the false-alarm
// chance shared out over them all (Bonferroni), so that fair dice are called unfair in at most
// that share of runs. No p-values, no verdict of fair.
struct Verdict
{
    bool fair = false;
    double threshold = 0.0; // each p-value is judged against this
    double smallestP = 0.0;
};
Verdict judge(std::span<const double> pValues, double falseAlarmChance = 0.05);

// Pairs each die of a reroll with the face it first showed. The dice of `roll` (face values in
// draw order) that showed `firstFace` to `lastFace` were thrown again as `thrown`, the j-th of
// them as the j-th of `thrown`. Element (first - 1) * sides + (again - 1) of `pairs` counts the
// dice that first showed `first` and then `again`; `pairs` holds the rows of the first faces
// that can be rerolled, so that under fair dice its cells are equally likely.
void addRerollPairs(std::span<const std::int16_t> roll, int firstFace, int lastFace,
                    std::span<const std::int16_t> thrown, int sides,
                    std::vector<std::uint64_t> &pairs);

// The dice of many rolls, in the order they were thrown, gathered for the tests of fairness.
class DiceTally
{
public:
    explicit DiceTally(int sides);

    // One roll's face values (1..sides), in the order the dice were drawn.
    void addRoll(std::span<const std::int16_t> faces);

    int sides() const { return sides_; }
    std::uint64_t dice() const { return dice_; }

    // Element k: how many dice showed k + 1.
    const std::vector<std::uint64_t> &faceCounts() const { return faces_; }

    // Knuth's serial test: the stream of dice cut into pairs (1st, 2nd), (3rd, 4th), ...;
    // element a * sides + b counts the pairs (a + 1, b + 1). Disjoint pairs keep the cells
    // independent, so the plain chi-square applies.
    const std::vector<std::uint64_t> &pairCounts() const { return pairs_; }

    // The pairs that straddle a re-seed: the last die of a roll and the first of the next one.
    const std::vector<std::uint64_t> &reseedPairCounts() const { return reseedPairs_; }

    // How far the face's count lies from its fair share, in dice (negative: fewer).
    double deviation(int face) const;
    // One standard deviation of a face's count around its fair share: sqrt(n p (1 - p)).
    double standardDeviation() const;
    // The largest gap between a face's share of all dice and 1 / sides, in per mille points.
    double largestShareDeviationPerMille() const;

private:
    int sides_;
    std::uint64_t dice_ = 0;
    std::vector<std::uint64_t> faces_;
    std::vector<std::uint64_t> pairs_;
    std::vector<std::uint64_t> reseedPairs_;
    int pendingFirst_ = -1; // first die of an unfinished pair, 0-based
    int lastOfRoll_ = -1;   // last die of the previous roll, 0-based
};

} // namespace talvero::fairness

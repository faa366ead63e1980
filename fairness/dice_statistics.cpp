// SPDX-License-Identifier: GPL-3.0-or-later
#include "fairness/dice_statistics.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <stdexcept>

namespace talvero::fairness {

namespace {

constexpr double kPerMille = 1000.0;

std::size_t cell(int value)
{
    return static_cast<std::size_t>(value);
}

} // namespace

double chiSquareEqualCells(std::span<const std::uint64_t> counts)
{
    if (counts.empty())
        return 0.0;
    double total = 0.0;
    for (const std::uint64_t count : counts)
        total += static_cast<double>(count);
    if (total == 0.0)
        return 0.0;
    const double expected = total / static_cast<double>(counts.size());
    double chi2 = 0.0;
    for (const std::uint64_t count : counts) {
        const double gap = static_cast<double>(count) - expected;
        chi2 += gap * gap / expected;
    }
    return chi2;
}

double chiSquarePValue(double chi2, int degreesOfFreedom)
{
    if (degreesOfFreedom < 1)
        throw std::invalid_argument("chi-square needs at least one degree of freedom");
    if (!(chi2 > 0.0))
        return 1.0;
    const boost::math::chi_squared_distribution<double> distribution(degreesOfFreedom);
    return boost::math::cdf(boost::math::complement(distribution, chi2));
}

std::optional<ChiSquareTest> testEqualCells(std::span<const std::uint64_t> counts)
{
    double total = 0.0;
    for (const std::uint64_t count : counts)
        total += static_cast<double>(count);
    if (counts.size() < 2 || total < kFewestExpectedPerCell * static_cast<double>(counts.size()))
        return std::nullopt;
    ChiSquareTest test;
    test.chi2 = chiSquareEqualCells(counts);
    test.degreesOfFreedom = static_cast<int>(counts.size()) - 1;
    test.pValue = chiSquarePValue(test.chi2, test.degreesOfFreedom);
    return test;
}

Verdict judge(std::span<const double> pValues, double falseAlarmChance)
{
    if (pValues.empty())
        return {};
    Verdict verdict;
    verdict.threshold = falseAlarmChance / static_cast<double>(pValues.size());
    verdict.smallestP = *std::min_element(pValues.begin(), pValues.end());
    verdict.fair = verdict.smallestP >= verdict.threshold;
    return verdict;
}

void addRerollPairs(std::span<const std::int16_t> roll, int firstFace, int lastFace,
                    std::span<const std::int16_t> thrown, int sides,
                    std::vector<std::uint64_t> &pairs)
{
    auto again = thrown.begin();
    for (const std::int16_t first : roll) {
        if (first < firstFace || first > lastFace)
            continue;
        if (again == thrown.end())
            throw std::invalid_argument("fewer dice thrown again than taken");
        if (*again < 1 || *again > sides)
            throw std::out_of_range("face value outside the die");
        ++pairs.at(cell((first - 1) * sides + *again - 1));
        ++again;
    }
    if (again != thrown.end())
        throw std::invalid_argument("more dice thrown again than taken");
}

DiceTally::DiceTally(int sides)
    : sides_(sides)
    , faces_(cell(sides))
    , pairs_(cell(sides * sides))
    , reseedPairs_(cell(sides * sides))
{
    if (sides < 2)
        throw std::invalid_argument("a die needs at least two sides");
}

void DiceTally::addRoll(std::span<const std::int16_t> faces)
{
    if (faces.empty())
        return;
    for (const std::int16_t face : faces) {
        if (face < 1 || face > sides_)
            throw std::out_of_range("face value outside the die");
    }
    if (lastOfRoll_ >= 0)
        ++reseedPairs_[cell(lastOfRoll_ * sides_ + faces.front() - 1)];
    for (const std::int16_t face : faces) {
        const int value = face - 1;
        ++faces_[cell(value)];
        if (pendingFirst_ < 0) {
            pendingFirst_ = value;
        } else {
            ++pairs_[cell(pendingFirst_ * sides_ + value)];
            pendingFirst_ = -1;
        }
    }
    lastOfRoll_ = faces.back() - 1;
    dice_ += faces.size();
}

double DiceTally::deviation(int face) const
{
    const double expected = static_cast<double>(dice_) / sides_;
    return static_cast<double>(faces_.at(cell(face - 1))) - expected;
}

double DiceTally::standardDeviation() const
{
    const double share = 1.0 / sides_;
    return std::sqrt(static_cast<double>(dice_) * share * (1.0 - share));
}

double DiceTally::largestShareDeviationPerMille() const
{
    if (dice_ == 0)
        return 0.0;
    double largest = 0.0;
    for (int face = 1; face <= sides_; ++face)
        largest = std::max(largest, std::abs(deviation(face)) / static_cast<double>(dice_));
    return largest * kPerMille;
}

} // namespace talvero::fairness

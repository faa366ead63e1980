// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace talvero {

// Dice of one kind behind a page's counts: thrown with `sides` sides, and thrown once more where
// the first throw showed one of the rerolled faces (bit f - 1 stands for face f).
struct DiceGroup
{
    int sides = 6;
    std::uint16_t rerolledFaces = 0;
    std::uint64_t dice = 0;
    bool operator==(const DiceGroup &) const = default;
};

// A face row label (value = face 1..10) or an at-least label (value = threshold 2..10).
enum class RowKind
{
    Face,
    AtLeast
};

// The distribution of one row's count under fair dice.
class RowDistribution
{
public:
    // Exact up to at least this many dice in all.
    static constexpr std::uint64_t kExactDice = 20'000;
    // Dice of a single chance stay exact up to here. Beyond it Boost's incomplete beta slows down
    // and later loses digits, while the skew-normal is off by less than 1e-6.
    static constexpr std::uint64_t kExactBinomialDice = 1'000'000'000;

    RowDistribution(std::span<const DiceGroup> groups, RowKind kind, int value);

    std::uint64_t dice() const { return dice_; }  // all dice behind the row
    double expected() const { return expected_; } // sum of n * p
    double atMost(std::uint64_t count) const;     // P(X <= count)
    double atLeast(std::uint64_t count) const;    // P(X >= count)
    std::uint64_t quantile(double share) const;   // smallest k with P(X <= k) >= share
    bool exact() const { return method_ != Method::SkewNormal; }

private:
    enum class Method
    {
        Binomial,
        Table,
        SkewNormal
    };
    // Y is the count of the dice that count by chance; the row's count is sure_ + Y.
    double below(std::uint64_t y) const; // P(Y <= y) for y < chance_
    double above(std::uint64_t y) const; // P(Y >= y) for 0 < y <= chance_
    std::uint64_t chanceQuantile(double share) const;

    std::uint64_t dice_ = 0;
    std::uint64_t sure_ = 0;   // dice that always count
    std::uint64_t chance_ = 0; // dice that count with a chance strictly between 0 and 1
    double expected_ = 0.0;
    Method method_ = Method::Binomial;
    double p_ = 0.0;                                    // Binomial
    std::uint64_t first_ = 0;                           // Table: Y of the first entries
    std::vector<double> below_, above_;                 // Table
    double location_ = 0.0, scale_ = 1.0, shape_ = 0.0; // SkewNormal
};

// What the odds window and the screen reader show for a row: the usual range is the central
// 90 % of fair outcomes, from quantile(0.05) to quantile(0.95).
struct RowOdds
{
    std::uint64_t dice;
    double expected;
    std::uint64_t usualLow, usualHigh;
    double atLeastShare, atMostShare;
    bool exact;
};

RowOdds oddsOf(const RowDistribution &distribution, std::uint64_t count);

} // namespace talvero

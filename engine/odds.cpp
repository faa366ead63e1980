// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/odds.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/skew_normal.hpp>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace talvero {

namespace {

namespace bm = boost::math;
// Up to kExactBinomialDice double precision is good to 1e-8 and several times faster than
// Boost's default promotion to long double.
using Policy = bm::policies::policy<bm::policies::promote_double<false>>;
using Binomial = bm::binomial_distribution<double, Policy>;
using SkewNormal = bm::skew_normal_distribution<double, Policy>;

// Table entries below this are left out; the mass dropped stays far under what a percentage shows.
constexpr double kNegligible = 1e-20;

std::uint64_t cappedSum(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

// Dice sharing one chance, num / den in lowest terms, to count in the row.
struct Kind
{
    std::uint64_t num, den, dice;
    double p() const { return static_cast<double>(num) / static_cast<double>(den); }
};

// One die's chance to count, in 1/sides²: a first throw keeps its face unless that face is
// rerolled, and every rerolled face gives each face another 1/sides² by the second throw.
std::uint64_t chanceInSquares(const DiceGroup &group, RowKind kind, int value)
{
    const int sides = group.sides;
    if (sides < 1 || sides > 16)
        return 0;
    const auto rerolled = [&](int face) {
        return ((group.rerolledFaces >> (face - 1)) & 1u) != 0;
    };
    std::uint64_t again = 0;
    for (int face = 1; face <= sides; ++face)
        again += rerolled(face) ? 1 : 0;
    const int last = kind == RowKind::Face ? std::min(value, sides) : sides;
    std::uint64_t hits = 0;
    for (int face = std::max(value, 1); face <= last; ++face)
        hits += (rerolled(face) ? 0 : static_cast<std::uint64_t>(sides)) + again;
    return hits;
}

// The pmf of one kind from Boost, from its mode outwards to where it becomes negligible.
std::vector<double> kindPmf(const Kind &kind, std::uint64_t &first)
{
    const Binomial binomial(static_cast<double>(kind.dice), kind.p());
    const auto pdfAt = [&](std::uint64_t k) {
        return pdf(binomial, static_cast<double>(k));
    };
    const std::uint64_t mode = std::min(
        kind.dice, static_cast<std::uint64_t>(static_cast<double>(kind.dice + 1) * kind.p()));
    std::vector<double> values;
    double v = 0.0;
    first = mode;
    for (; first > 0 && (v = pdfAt(first - 1)) > kNegligible; --first)
        values.push_back(v);
    std::reverse(values.begin(), values.end());
    values.push_back(pdfAt(mode));
    for (std::uint64_t k = mode + 1; k <= kind.dice && (v = pdfAt(k)) > kNegligible; ++k)
        values.push_back(v);
    return values;
}

// Y's pmf from `first` on: the kinds' pmfs convolved.
std::vector<double> convolved(const std::vector<Kind> &kinds, std::uint64_t &first)
{
    std::vector<double> pmf = kindPmf(kinds.front(), first);
    for (auto kind = kinds.begin() + 1; kind != kinds.end(); ++kind) {
        std::uint64_t offset = 0;
        const std::vector<double> next = kindPmf(*kind, offset);
        std::vector<double> sum(pmf.size() + next.size() - 1, 0.0);
        for (std::size_t i = 0; i < pmf.size(); ++i) {
            for (std::size_t j = 0; j < next.size(); ++j)
                sum[i + j] += pmf[i] * next[j];
        }
        // Trimmed again, or many small kinds would widen the table far past the mass.
        std::size_t lead = 0;
        while (sum[lead] <= kNegligible)
            ++lead;
        while (sum.back() <= kNegligible)
            sum.pop_back();
        pmf.assign(sum.begin() + static_cast<std::ptrdiff_t>(lead), sum.end());
        first += offset + lead;
    }
    return pmf;
}

} // namespace

RowDistribution::RowDistribution(std::span<const DiceGroup> groups, RowKind kind, int value)
{
    std::vector<Kind> kinds;
    for (const DiceGroup &group : groups) {
        dice_ = cappedSum(dice_, group.dice);
        const std::uint64_t hits = chanceInSquares(group, kind, value);
        if (group.dice == 0 || hits == 0)
            continue;
        const auto square = static_cast<std::uint64_t>(group.sides * group.sides);
        const std::uint64_t divisor = std::gcd(hits, square);
        const Kind reduced{hits / divisor, square / divisor, group.dice};
        if (reduced.num == reduced.den) {
            sure_ = cappedSum(sure_, group.dice);
            continue;
        }
        const auto same = std::find_if(kinds.begin(), kinds.end(), [&](const Kind &k) {
            return k.num == reduced.num && k.den == reduced.den;
        });
        if (same == kinds.end())
            kinds.push_back(reduced);
        else
            same->dice = cappedSum(same->dice, group.dice);
    }

    double mean = 0.0, variance = 0.0, third = 0.0; // cumulants of Y
    for (const Kind &k : kinds) {
        chance_ = cappedSum(chance_, k.dice);
        const double n = static_cast<double>(k.dice), p = k.p();
        mean += n * p;
        variance += n * p * (1.0 - p);
        third += n * p * (1.0 - p) * (1.0 - 2.0 * p);
    }
    expected_ = static_cast<double>(sure_) + mean;

    if (kinds.size() == 1 && chance_ <= kExactBinomialDice) {
        method_ = Method::Binomial;
        p_ = kinds.front().p();
    } else if (kinds.size() > 1 && chance_ <= kExactDice) {
        method_ = Method::Table;
        const std::vector<double> pmf = convolved(kinds, first_);
        below_.resize(pmf.size());
        above_.resize(pmf.size());
        std::partial_sum(pmf.begin(), pmf.end(), below_.begin());
        // Summed from the top, so that far tails keep their digits instead of 1 - cdf.
        std::partial_sum(pmf.rbegin(), pmf.rend(), above_.rbegin());
    } else if (!kinds.empty()) {
        // Matched to Y's mean, variance and skewness. Past kExactDice dice with chances of at
        // least 1/256 the skewness stays below 0.12, well inside the skew-normal's reach.
        method_ = Method::SkewNormal;
        constexpr double pi = std::numbers::pi;
        const double skewness = third / (variance * std::sqrt(variance));
        const double power = std::cbrt(skewness * skewness);
        const double delta = std::copysign(
            std::sqrt(pi / 2.0 * power / (power + std::cbrt((4.0 - pi) * (4.0 - pi) / 4.0))),
            skewness);
        scale_ = std::sqrt(variance / (1.0 - 2.0 * delta * delta / pi));
        location_ = mean - scale_ * delta * std::sqrt(2.0 / pi);
        shape_ = delta / std::sqrt(1.0 - delta * delta);
    }
}

double RowDistribution::atMost(std::uint64_t count) const
{
    if (count < sure_)
        return 0.0;
    if (count - sure_ >= chance_)
        return 1.0;
    return below(count - sure_);
}

double RowDistribution::atLeast(std::uint64_t count) const
{
    if (count <= sure_)
        return 1.0;
    if (count - sure_ > chance_)
        return 0.0;
    return above(count - sure_);
}

std::uint64_t RowDistribution::quantile(double share) const
{
    if (!(share > 0.0))
        return 0;
    if (share >= 1.0)
        return cappedSum(sure_, chance_);
    return chance_ == 0 ? sure_ : sure_ + chanceQuantile(share);
}

double RowDistribution::below(std::uint64_t y) const
{
    switch (method_) {
    case Method::Binomial:
        return cdf(Binomial(static_cast<double>(chance_), p_), static_cast<double>(y));
    case Method::Table:
        if (y < first_)
            return 0.0;
        return y - first_ < below_.size() ? below_[y - first_] : 1.0;
    case Method::SkewNormal:
        return cdf(SkewNormal(location_, scale_, shape_), static_cast<double>(y) + 0.5);
    }
    return 0.0;
}

double RowDistribution::above(std::uint64_t y) const
{
    switch (method_) {
    case Method::Binomial:
        return cdf(
            complement(Binomial(static_cast<double>(chance_), p_), static_cast<double>(y - 1)));
    case Method::Table:
        if (y < first_)
            return 1.0;
        return y - first_ < above_.size() ? above_[y - first_] : 0.0;
    case Method::SkewNormal:
        return cdf(complement(SkewNormal(location_, scale_, shape_), static_cast<double>(y) - 0.5));
    }
    return 0.0;
}

std::uint64_t RowDistribution::chanceQuantile(double share) const
{
    const double n = static_cast<double>(chance_);
    switch (method_) {
    case Method::Binomial: {
        // A Cornish-Fisher start lands within a step or two; the walk settles it on exact values.
        const Binomial binomial(n, p_);
        const double z = bm::quantile(bm::normal_distribution<double, Policy>(), share);
        const double start = n * p_ + std::sqrt(n * p_ * (1.0 - p_)) * z +
                             (z * z - 1.0) * (1.0 - 2.0 * p_) / 6.0 - 0.5;
        double k = std::clamp(std::floor(start), 0.0, n);
        double atOrBelow = cdf(binomial, k);
        while (atOrBelow < share && k < n)
            atOrBelow += pdf(binomial, ++k);
        for (double step; k > 0.0 && atOrBelow - (step = pdf(binomial, k)) >= share; --k)
            atOrBelow -= step;
        return static_cast<std::uint64_t>(k);
    }
    case Method::Table: {
        const auto found = std::lower_bound(below_.begin(), below_.end(), share);
        return first_ + static_cast<std::uint64_t>(found - below_.begin()) -
               (found == below_.end() ? 1 : 0);
    }
    case Method::SkewNormal: {
        // The smallest k whose continuity-corrected cdf reaches the share.
        const double k =
            std::ceil(bm::quantile(SkewNormal(location_, scale_, shape_), share) - 0.5);
        if (k <= 0.0)
            return 0;
        return k >= n ? chance_ : static_cast<std::uint64_t>(k);
    }
    }
    return 0;
}

RowOdds oddsOf(const RowDistribution &distribution, std::uint64_t count)
{
    return {distribution.dice(),         distribution.expected(),     distribution.quantile(0.05),
            distribution.quantile(0.95), distribution.atLeast(count), distribution.atMost(count),
            distribution.exact()};
}

} // namespace talvero

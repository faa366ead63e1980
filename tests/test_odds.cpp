// SPDX-License-Identifier: GPL-3.0-or-later
// Row odds against a reference of their own: the pmf built one die at a time, for binomials and
// mixes up to and past the exact limit.

#include "engine/odds.h"

#include <QTest>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

using namespace talvero;
using namespace Qt::StringLiterals;
using Groups = std::vector<DiceGroup>;
Q_DECLARE_METATYPE(Groups)
Q_DECLARE_METATYPE(talvero::RowKind)

namespace {

// How many of a die's sides² equally likely pairs of throws end on each face.
std::array<std::uint64_t, 17> finalFaces(const DiceGroup &group)
{
    std::array<std::uint64_t, 17> ways{};
    for (int first = 1; first <= group.sides; ++first) {
        const bool again = (group.rerolledFaces & (1u << (first - 1))) != 0;
        for (int second = 1; second <= group.sides; ++second)
            ++ways[again ? second : first];
    }
    return ways;
}

// pmf[i] is the chance of the count first + i.
struct Exact
{
    std::uint64_t first = 0;
    std::vector<long double> pmf;
};

// The pmf built one die at a time from each die's own chance; negligible counts at either end
// are left out as the dice are added.
Exact dieByDie(const Groups &groups, RowKind kind, int value)
{
    Exact exact{0, {1.0L}};
    std::vector<long double> &pmf = exact.pmf;
    for (const DiceGroup &group : groups) {
        const auto ways = finalFaces(group);
        long double p = 0;
        for (int face = 1; face <= group.sides; ++face)
            p += (kind == RowKind::Face ? face == value : face >= value) ? ways[face] : 0;
        p /= group.sides * group.sides;
        for (std::uint64_t die = 0; die < group.dice; ++die) {
            pmf.push_back(0.0L);
            for (std::size_t i = pmf.size() - 1; i > 0; --i)
                pmf[i] = pmf[i] * (1 - p) + pmf[i - 1] * p;
            pmf[0] *= 1 - p;
            while (pmf.back() < 1e-30L)
                pmf.pop_back();
            for (; pmf.front() < 1e-30L; ++exact.first)
                pmf.erase(pmf.begin());
        }
    }
    return exact;
}

// Within `points` percentage points; for points = 0 to nine digits, and 1e-18 for what is smaller
// still: tables leave out chances below 1e-20, while 1 - P(X < k) would miss by 1e-16. Returns the
// first disagreement.
QString mismatch(const RowDistribution &row, const Exact &exact, long double points = 0)
{
    const auto agree = [&](double actual, long double expected) {
        const long double off = std::fabs(actual - expected);
        return points > 0 ? off * 100 < points : off <= 1e-9L * expected + 1e-18L;
    };
    std::vector<long double> above(exact.pmf.size() + 1, 0.0L);
    for (std::size_t i = exact.pmf.size(); i-- > 0;)
        above[i] = above[i + 1] + exact.pmf[i];
    long double below = 0, mean = 0;
    std::uint64_t low = exact.first, high = exact.first;
    for (std::size_t i = 0; i < above.size(); ++i) {
        const std::uint64_t k = exact.first + i;
        const long double at = i < exact.pmf.size() ? exact.pmf[i] : 0;
        below += at;
        mean += k * at;
        if (!agree(row.atMost(k), below) || !agree(row.atLeast(k), above[i]))
            return u"P(X <= %1) = %2, P(X >= %1) = %3"_s.arg(k)
                .arg(row.atMost(k))
                .arg(row.atLeast(k));
        low += below < 0.05L ? 1 : 0;
        high += below < 0.95L ? 1 : 0;
    }
    if (std::fabs(row.expected() - mean) > 1e-9L * mean)
        return u"expected %1"_s.arg(row.expected());
    // An approximation may land on the neighbour of an exact bound of the range, but each bound
    // must be the smallest count whose own P(X <= k) reaches the share.
    const std::uint64_t slack = points > 0 ? 1 : 0;
    for (const auto &[share, bound] : {std::pair{0.05, low}, std::pair{0.95, high}}) {
        const std::uint64_t k = row.quantile(share);
        if (k + slack < bound || k > bound + slack || row.atMost(k) < share ||
            (k > 0 && row.atMost(k - 1) >= share))
            return u"%1 for %2 instead of %3"_s.arg(k).arg(share).arg(bound);
    }
    return {};
}

} // namespace

class OddsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mixes_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<RowKind>("kind");
        QTest::addColumn<int>("value");
        // Rerolling 1s and 6s keeps 4+ at one half: 2/6 + 2/6 · 3/6.
        QTest::newRow("60 dice with 6 sides") << Groups{{6, 0, 60}} << RowKind::AtLeast << 4;
        QTest::newRow("40 plain, 20 rerolling 1s and 6s")
            << Groups{{6, 0, 40}, {6, 0b100001, 20}} << RowKind::AtLeast << 4;
        const Groups mix{{6, 0b1, 2}, {4, 0, 1}, {10, 0b11, 2}};
        for (int face : {1, 2, 3, 4, 6, 9})
            QTest::addRow("mix, face %d", face) << mix << RowKind::Face << face;
        for (int threshold : {2, 3, 4, 5, 7, 10})
            QTest::addRow("mix, at least %d", threshold) << mix << RowKind::AtLeast << threshold;
        // Dice with one side always count in face 1, next to dice that may.
        const Groups sure{{1, 0, 3}, {6, 0, 2}, {2, 0b10, 1}};
        for (int face : {1, 2})
            QTest::addRow("sure and chance, face %d", face) << sure << RowKind::Face << face;
        QTest::newRow("single die, face 1") << Groups{{10, 0b1, 1}} << RowKind::Face << 1;
        QTest::newRow("single die, at least 3") << Groups{{4, 0b10, 1}} << RowKind::AtLeast << 3;
        // Counts that cannot come out otherwise: faces above the sides, every die, no dice.
        QTest::newRow("face above the sides")
            << Groups{{6, 0b111111, 5}, {4, 0, 3}} << RowKind::Face << 7;
        QTest::newRow("every die counts")
            << Groups{{6, 0, 3}, {10, 0b1, 4}} << RowKind::AtLeast << 1;
        QTest::newRow("no dice") << Groups{{6, 0, 0}} << RowKind::AtLeast << 2;
        // Die by die: far tails, the exact boundary, and the most skewed mixes just past it.
        QTest::newRow("30 and 30 dice, 1/6 and 1/2")
            << Groups{{6, 0, 30}, {10, 0, 30}} << RowKind::AtLeast << 6;
        QTest::newRow("sure dice and 40 at 1/100 and 3/4")
            << Groups{{10, 0b1, 20}, {1, 0, 5}, {2, 0b10, 20}} << RowKind::Face << 1;
        QTest::newRow("at the boundary, 1/100 and 1/10")
            << Groups{{10, 0b1, 10'000}, {10, 0, 10'000}} << RowKind::Face << 1;
        QTest::newRow("past it, 1/100 and one 1/6")
            << Groups{{10, 0b1, 20'000}, {6, 0, 1}} << RowKind::Face << 1;
        QTest::newRow("past it, 99/100 and one 3/4")
            << Groups{{10, 0b1, 20'000}, {4, 0, 1}} << RowKind::AtLeast << 2;
        QTest::newRow("past it, 1/100 and 1/10")
            << Groups{{10, 0b1000000000, 12'000}, {10, 0, 8'001}} << RowKind::AtLeast << 10;
        Groups small;
        for (int sides = 2; sides <= 10; ++sides) {
            for (std::uint16_t rerolled : {0, 1, 3})
                small.push_back({sides, rerolled, 741});
        }
        QTest::newRow("past it, 27 small groups") << small << RowKind::Face << 1;
    }
    // Exact up to kExactDice dice; past it, every share within 0.05 percentage points, which a
    // normal without the skew misses by 0.46 just past the limit.
    void mixes()
    {
        QFETCH(Groups, groups);
        QFETCH(RowKind, kind);
        QFETCH(int, value);
        const RowDistribution row(groups, kind, value);
        const bool past = row.dice() > RowDistribution::kExactDice;
        QCOMPARE(row.exact(), !past);
        const QString wrong = mismatch(row, dieByDie(groups, kind, value), past ? 0.05L : 0.0L);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    void hugeGroups_data()
    {
        QTest::addColumn<std::uint64_t>("dice");
        for (std::uint64_t dice : {1'000'000ull, 18'000'000ull, 1'000'000'000'000'000'000ull})
            QTest::addRow("%llu dice", static_cast<unsigned long long>(dice)) << dice;
    }
    void hugeGroups()
    {
        QFETCH(std::uint64_t, dice);
        const RowDistribution row(Groups{{6, 0, dice}}, RowKind::AtLeast, 4);
        const double mean = static_cast<double>(dice) / 2, sd = std::sqrt(mean / 2);
        QCOMPARE(row.expected(), mean);
        QCOMPARE(row.exact(), dice <= RowDistribution::kExactBinomialDice);
        // Published normal values: z(0.95) and the share above one standard deviation.
        const double spread = 1.6448536269514722 * sd, slack = 2 + 1e-15 * mean;
        QVERIFY(std::fabs(static_cast<double>(row.quantile(0.05)) - (mean - spread)) < slack);
        QVERIFY(std::fabs(static_cast<double>(row.quantile(0.95)) - (mean + spread)) < slack);
        const auto above = static_cast<std::uint64_t>(mean + sd);
        QVERIFY(std::fabs(row.atLeast(above) - 0.15865525393145707) < 1e-3);
        // One half is symmetric: k or more as likely as dice - k or fewer.
        QVERIFY(std::fabs(row.atLeast(above) - row.atMost(dice - above)) < 1e-9);
    }
};

QTEST_APPLESS_MAIN(OddsTest)
#include "test_odds.moc"

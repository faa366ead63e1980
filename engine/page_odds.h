// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/dice_engine.h"
#include "engine/odds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talvero {

// The columns of both odds tables.
enum class OddsColumn
{
    Shown,
    Dice,
    Expected,
    Usual,
    SoMany,
    SoFew
};
inline constexpr int kOddsColumnCount = 6;

// Written for the eye, or spoken by a screen reader.
enum class Voice
{
    Written,
    Spoken
};

std::string oddsColumnTitle(OddsColumn column);

// The highest face the page's dice can show: that of the most-sided dice behind it, or the
// sides chosen while none is.
int reachableSides(std::span<const DiceGroup> dice, int chosenSides);

// The odds of one row of a page (its face row or its at-least row): one table row for each
// count its dice can reach, so "7er" to "10er" are left out while only six-sided dice are behind.
class RowOddsTable
{
public:
    explicit RowOddsTable(RowKind kind);

    // How many rows `sides` gives: faces 1..sides, thresholds 2..sides.
    static int rowsFor(RowKind kind, int sides);

    // The counts shown (all of the page's row, first face or threshold first) and the dice
    // behind them; the distributions are worked out again only when the dice changed.
    void update(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts,
                int chosenSides);

    RowKind kind() const { return kind_; }
    int size() const { return static_cast<int>(odds_.size()); }
    // The face or threshold of a row, and back; nothing for a value left out.
    int valueOf(int row) const { return first() + row; }
    std::optional<int> rowOf(int value) const;
    std::string heading(int row) const;
    std::uint64_t count(int row) const { return counts_[static_cast<std::size_t>(row)]; }
    const RowOdds &odds(int row) const { return odds_[static_cast<std::size_t>(row)]; }
    std::string cellText(int row, OddsColumn column, Voice voice) const;

private:
    int first() const { return kind_ == RowKind::Face ? 1 : 2; }

    RowKind kind_;
    std::optional<std::vector<DiceGroup>> dice_;
    std::vector<RowDistribution> distributions_;
    std::vector<std::uint64_t> counts_;
    std::vector<RowOdds> odds_;
};

// The at-least row the odds' sentence speaks of, for both pages: the threshold last rolled on
// for damage (both pages) or whose fails were rerolled (its page), while the last roll's sides
// reach it; else the middle one of those sides, 4+ of six.
class SentenceThreshold
{
public:
    void rolled(const RollEvent &event);
    // The cross: the sentence starts over with the counts.
    void cleared(Page page);
    int threshold(Page page, int sides) const;

private:
    std::array<std::optional<int>, 2> lookedAt_;
};

// The sentence on a page's at-least row `threshold`, from its table.
std::string pageSentence(const RowOddsTable &atLeast, std::span<const std::uint64_t> atLeastCounts,
                         const std::vector<DiceGroup> &dice, int threshold);

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/page_odds.h"

#include "engine/odds_text.h"
#include "engine/page_text.h"

#include <algorithm>

namespace talvero {

namespace {

constexpr int kLowestThreshold = 2;

} // namespace

std::string oddsColumnTitle(OddsColumn column)
{
    switch (column) {
    case OddsColumn::Shown:
        return "Gezählt";
    case OddsColumn::Dice:
        return "Würfel";
    case OddsColumn::Expected:
        return "Erwartet";
    case OddsColumn::Usual:
        return "Üblich";
    case OddsColumn::SoMany:
        return "So viele oder mehr";
    case OddsColumn::SoFew:
        return "So wenige oder weniger";
    }
    return {};
}

int reachableSides(std::span<const DiceGroup> dice, int chosenSides)
{
    int sides = 0;
    for (const DiceGroup &group : dice) {
        if (group.dice > 0)
            sides = std::max(sides, group.sides);
    }
    return std::clamp(sides > 0 ? sides : chosenSides, 1, kFaceCount);
}

RowOddsTable::RowOddsTable(RowKind kind)
    : kind_(kind)
{}

int RowOddsTable::rowsFor(RowKind kind, int sides)
{
    const int last = std::clamp(sides, 1, kFaceCount);
    return kind == RowKind::Face ? last : last - 1;
}

void RowOddsTable::update(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts,
                          int chosenSides)
{
    const auto rows = static_cast<std::size_t>(rowsFor(kind_, reachableSides(dice, chosenSides)));
    if (!dice_ || *dice_ != dice || distributions_.size() != rows) {
        distributions_.clear();
        for (std::size_t row = 0; row < rows; ++row)
            distributions_.emplace_back(dice, kind_, first() + static_cast<int>(row));
        dice_ = dice;
    }
    counts_.assign(rows, 0);
    std::copy_n(counts.begin(), std::min(rows, counts.size()), counts_.begin());
    odds_.clear();
    for (std::size_t row = 0; row < rows; ++row)
        odds_.push_back(oddsOf(distributions_[row], counts_[row]));
}

std::optional<int> RowOddsTable::rowOf(int value) const
{
    const int row = value - first();
    if (row < 0 || row >= size())
        return std::nullopt;
    return row;
}

std::string RowOddsTable::heading(int row) const
{
    return kind_ == RowKind::Face ? faceHeadingText(row) : thresholdHeadingText(row);
}

std::string RowOddsTable::cellText(int row, OddsColumn column, Voice voice) const
{
    if (row < 0 || row >= size())
        return {};
    const RowOdds &shown = odds(row);
    const bool spoken = voice == Voice::Spoken;
    switch (column) {
    case OddsColumn::Shown:
        return std::to_string(count(row));
    case OddsColumn::Dice:
        return std::to_string(shown.dice);
    case OddsColumn::Expected:
        return expectedText(shown.expected);
    case OddsColumn::Usual:
        return spoken ? spokenRangeText(shown) : usualRangeText(shown);
    case OddsColumn::SoMany:
        return spoken ? spokenShareText(shown.atLeastShare) : shareText(shown.atLeastShare);
    case OddsColumn::SoFew:
        return spoken ? spokenShareText(shown.atMostShare) : shareText(shown.atMostShare);
    }
    return {};
}

void SentenceThreshold::rolled(const RollEvent &event)
{
    if (event.kind == RollKind::FollowUp)
        lookedAt_.fill(event.value);
    else if (event.kind == RollKind::RerollBelow)
        lookedAt_[static_cast<std::size_t>(event.page)] = event.value;
}

void SentenceThreshold::cleared(Page page)
{
    lookedAt_[static_cast<std::size_t>(page)].reset();
}

int SentenceThreshold::threshold(Page page, int sides) const
{
    const std::optional<int> lookedAt = lookedAt_[static_cast<std::size_t>(page)];
    const int threshold = lookedAt && *lookedAt <= sides ? *lookedAt : (sides + 2) / 2;
    return std::clamp(threshold, kLowestThreshold, kFaceCount);
}

std::string pageSentence(const RowOddsTable &atLeast, std::span<const std::uint64_t> atLeastCounts,
                         const std::vector<DiceGroup> &dice, int threshold)
{
    const auto index = static_cast<std::size_t>(threshold - kLowestThreshold);
    const std::uint64_t count = index < atLeastCounts.size() ? atLeastCounts[index] : 0;
    if (const std::optional<int> row = atLeast.rowOf(threshold))
        return oddsSentence(threshold, count, atLeast.odds(*row));
    // A threshold the table leaves out still has its odds.
    return oddsSentence(threshold, count,
                        oddsOf(RowDistribution(dice, RowKind::AtLeast, threshold), count));
}

} // namespace talvero

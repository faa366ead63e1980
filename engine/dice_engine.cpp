// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/dice_engine.h"

#include "engine/count_text.h"

#include <algorithm>
#include <stdexcept>

namespace talvero {

namespace {

constexpr std::string_view kZero = "0";
constexpr std::string_view kFrameCaption = "Wurfergebnis";

void requireSize(const CountRow &row, int size)
{
    if (row.size() < size)
        throw std::invalid_argument("DiceEngine: count row has too few elements");
}

std::string hitSummary(int dice, int sides)
{
    return "Wurfergebnis " + std::to_string(dice) + " Würfel mit je " + std::to_string(sides) +
           " Seiten";
}

std::string followUpSummary(int index, std::uint64_t dice)
{
    return "Wurfergebnis " + std::to_string(index + 2) + "+ (" + countText(dice) + " Würfe)";
}

std::string refusalText(int index)
{
    return "Dieser Wurf kann nicht ausgeführt werden, der Würfel " + std::to_string(index + 2) +
           "+ hat keine Treffer.";
}

std::string counterText(double counter)
{
    return "Wurf " + countText(counter);
}

} // namespace

DiceEngine::DiceEngine(const TallySet &hit, const TallySet &damage, Clock &clock,
                       std::uint64_t startSeed)
    : sets_{hit, damage}
    , clock_(clock)
    , random_(startSeed)
{
    for (const TallySet &set : sets_) {
        requireSize(set.faceRow, kFaceCount);
        requireSize(set.atLeastRow, kThresholdCount);
    }
}

void DiceEngine::reseedFromClock()
{
    // Three separate reads, as a clock that ticks between them would give.
    const TimeOfDay first = clock_.now();
    const TimeOfDay second = clock_.now();
    const TimeOfDay third = clock_.now();
    random_.reseed(clockSeed(first, second, third));
}

void DiceEngine::rewriteAtLeastRow(Tally set)
{
    TallySet &t = tally(set);
    double sum = 0.0;
    for (int i = kFaceCount - 1; i >= 1; --i) {
        sum += readCount(t.faceRow.caption(i));
        t.atLeastRow.setCaption(i - 1, countText(sum));
    }
}

void DiceEngine::clearCounts(Tally set)
{
    TallySet &t = tally(set);
    for (int i = 0; i < t.faceRow.size(); ++i)
        t.faceRow.setCaption(i, kZero);
    for (int i = 0; i < t.atLeastRow.size(); ++i)
        t.atLeastRow.setCaption(i, kZero);
    t.resultFrame.setCaption(kFrameCaption);
}

void DiceEngine::countRoll(Tally set)
{
    rollCounter_[index(set)] += 1.0;
    tally(set).counterLabel.setCaption(counterText(rollCounter_[index(set)]));
}

// Tallies the dice in local counters and writes each face caption once: nothing can look at the
// captions between two dice, and a large roll stays fast.
void DiceEngine::throwDice(Tally set, std::uint64_t dice, int sides)
{
    sides = std::clamp(sides, 1, kFaceCount);
    std::array<std::uint64_t, kFaceCount> thrown{};
    for (std::uint64_t d = 0; d < dice; ++d)
        ++thrown[static_cast<std::size_t>(faceValue(random_.next(), sides) - 1)];

    CountRow &row = tally(set).faceRow;
    for (int label = 0; label < kFaceCount; ++label) {
        const std::uint64_t added = thrown[static_cast<std::size_t>(label)];
        if (added != 0)
            row.setCaption(label,
                           countText(readCount(row.caption(label)) + static_cast<double>(added)));
    }
}

void DiceEngine::hitRoll(int dice, int sides, bool newCount)
{
    reseedFromClock();
    countRoll(Tally::Hit);
    if (newCount)
        clearCounts(Tally::Hit);
    throwDice(Tally::Hit, static_cast<std::uint64_t>(std::max(dice, 0)), sides);
    rewriteAtLeastRow(Tally::Hit);
    tally(Tally::Hit).resultFrame.setCaption(hitSummary(dice, sides));
}

std::optional<std::string> DiceEngine::followUpRoll(int index, int sides, bool newCount)
{
    if (index < 0 || index >= kThresholdCount)
        return std::nullopt;
    // Wider than the 16 bits a count was once read into: every hit shown is rolled.
    const std::uint64_t dice = countAsDice(readCount(tally(Tally::Hit).atLeastRow.caption(index)));
    if (dice == 0)
        return refusalText(index);

    countRoll(Tally::Damage);
    reseedFromClock();
    if (newCount)
        clearCounts(Tally::Damage);
    throwDice(Tally::Damage, dice, sides);
    rewriteAtLeastRow(Tally::Damage);
    tally(Tally::Damage).resultFrame.setCaption(followUpSummary(index, dice));
    return std::nullopt;
}

std::string DiceEngine::followUpToolTip(int index) const
{
    if (index < 0 || index >= kThresholdCount)
        return {};
    return sets_[0].atLeastRow.caption(index) + " Würfe";
}

void DiceEngine::resetRollCounter(Tally set)
{
    rollCounter_[index(set)] = 0.0;
    tally(set).counterLabel.setCaption(counterText(rollCounter_[index(set)]));
}

} // namespace talvero

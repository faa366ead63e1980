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

std::string decimal(long long value)
{
    return std::to_string(value);
}

} // namespace

DiceEngine::DiceEngine(const TallySet &hit, const TallySet &damage, Clock &clock,
                       std::uint64_t initialSeed)
    : sets_{hit, damage}
    , clock_(clock)
    , random_(initialSeed)
{
    for (const TallySet &set : sets_) {
        requireSize(set.faceRow, kFaceCount);
        requireSize(set.atLeastRow, kThresholdCount);
    }
}

void DiceEngine::ZufallSetzen()
{
    // Three separate reads, as a clock that ticks between them would give.
    const std::int64_t s1 = clock_.now().second;
    const std::int64_t s2 = clock_.now().second;
    const std::int64_t m = clock_.now().minute;
    random_.reseed(static_cast<std::uint64_t>(s2 * s1 * m));
}

std::int16_t DiceEngine::AugenWerfen(std::int16_t sides)
{
    return faceValue(random_.next(), sides);
}

void DiceEngine::SortierungSetzen(Tally set)
{
    TallySet &t = tally(set);
    double sum = 0.0;
    for (int i = kFaceCount - 1; i >= 1; --i) {
        sum += readCount(t.faceRow.caption(i));
        t.atLeastRow.setCaption(i - 1, countText(sum));
    }
}

void DiceEngine::ZaehlungLoeschen(Tally set)
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
        ++thrown[static_cast<std::size_t>(AugenWerfen(static_cast<std::int16_t>(sides)) - 1)];

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
    ZufallSetzen();
    countRoll(Tally::Hit);
    if (newCount)
        ZaehlungLoeschen(Tally::Hit);
    throwDice(Tally::Hit, static_cast<std::uint64_t>(std::max(dice, 0)), sides);
    SortierungSetzen(Tally::Hit);
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
    ZufallSetzen();
    if (newCount)
        ZaehlungLoeschen(Tally::Damage);
    throwDice(Tally::Damage, dice, sides);
    SortierungSetzen(Tally::Damage);
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

std::string DiceEngine::refusalText(int index)
{
    return "Dieser Wurf kann nicht ausgeführt werden, der Würfel " + decimal(index + 2) +
           "+ hat keine Treffer.";
}

std::string DiceEngine::hitSummary(int dice, int sides)
{
    return "Wurfergebnis " + decimal(dice) + " Würfel mit je " + decimal(sides) + " Seiten";
}

std::string DiceEngine::followUpSummary(int index, std::uint64_t dice)
{
    return "Wurfergebnis " + decimal(index + 2) + "+ (" + countText(dice) + " Würfe)";
}

std::string DiceEngine::counterText(double counter)
{
    return "Wurf " + countText(counter);
}

} // namespace talvero

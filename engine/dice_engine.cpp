// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/dice_engine.h"

#include "engine/count_text.h"

#include <algorithm>
#include <utility>

namespace talvero {

namespace {

constexpr std::string_view kZero = "0";
constexpr std::string_view kFrameCaption = "Wurfergebnis";

// A row shorter than the engine's counts shows what fits: the labels it lacks read as "0" and
// take no writes, so a short row can neither stop the engine nor be written past its end.
std::string captionAt(const CountRow &row, int index)
{
    return index < row.size() ? row.caption(index) : std::string(kZero);
}

void setCaptionAt(CountRow &row, int index, std::string_view text)
{
    if (index < row.size())
        row.setCaption(index, text);
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

std::string rerolledSummary(const std::string &summary, std::uint64_t rerolled)
{
    return summary + ", " + countText(rerolled) + " neu gewürfelt";
}

} // namespace

DiceEngine::DiceEngine(const PageRows &hit, const PageRows &damage, Clock &clock,
                       std::uint64_t startSeed)
    : pages_{hit, damage}
    , clock_(clock)
    , random_(startSeed)
{}

PageCounts DiceEngine::counts(Page page) const
{
    const PageRows &shown = pages_[index(page)];
    PageCounts counts;
    for (std::size_t i = 0; i < counts.faces.size(); ++i)
        counts.faces[i] = countAsDice(readCount(shown.faceRow.caption(static_cast<int>(i))));
    for (std::size_t i = 0; i < counts.atLeast.size(); ++i)
        counts.atLeast[i] = countAsDice(readCount(shown.atLeastRow.caption(static_cast<int>(i))));
    return counts;
}

void DiceEngine::reseedFromClock()
{
    // Three separate reads, as a clock that ticks between them would give.
    const TimeOfDay first = clock_.now();
    const TimeOfDay second = clock_.now();
    const TimeOfDay third = clock_.now();
    random_.reseed(clockSeed(first, second, third));
}

void DiceEngine::rewriteAtLeastRow(Page page)
{
    PageRows &shown = rows(page);
    double sum = 0.0;
    for (int i = kFaceCount - 1; i >= 1; --i) {
        sum += readCount(captionAt(shown.faceRow, i));
        setCaptionAt(shown.atLeastRow, i - 1, countText(sum));
    }
}

void DiceEngine::clearCounts(Page page)
{
    lastRoll_[static_cast<std::size_t>(index(page))].reset();
    earlierDice_[static_cast<std::size_t>(index(page))].clear();
    PageRows &shown = rows(page);
    for (int i = 0; i < shown.faceRow.size(); ++i)
        shown.faceRow.setCaption(i, kZero);
    for (int i = 0; i < shown.atLeastRow.size(); ++i)
        shown.atLeastRow.setCaption(i, kZero);
    shown.resultFrame.setCaption(kFrameCaption);
}

void DiceEngine::countRoll(Page page)
{
    rollCounter_[index(page)] += 1.0;
    rows(page).counterLabel.setCaption(counterText(rollCounter_[index(page)]));
}

// Tallies the dice in local counters: nothing can look at the captions between two dice, so each
// caption is written once, and a large roll stays fast.
ThrownDice DiceEngine::throwDice(std::uint64_t dice, int sides)
{
    ThrownDice thrown{dice, std::clamp(sides, 1, kFaceCount), {}};
    for (std::uint64_t d = 0; d < dice; ++d)
        ++thrown.faces[static_cast<std::size_t>(faceValue(random_.next(), thrown.sides) - 1)];
    return thrown;
}

void DiceEngine::changeFaceRow(Page page, const std::array<std::uint64_t, kFaceCount> &taken,
                               const std::array<std::uint64_t, kFaceCount> &added)
{
    CountRow &row = rows(page).faceRow;
    for (std::size_t face = 0; face < taken.size(); ++face) {
        if (taken[face] == added[face])
            continue;
        const int label = static_cast<int>(face);
        const double count = readCount(captionAt(row, label)) - static_cast<double>(taken[face]);
        setCaptionAt(row, label,
                     countText(std::max(count, 0.0) + static_cast<double>(added[face])));
    }
}

void DiceEngine::remember(Page page, const ThrownDice &thrown, std::string summary)
{
    const auto slot = static_cast<std::size_t>(index(page));
    if (const std::optional<LastRoll> &last = lastRoll_[slot]) {
        std::vector<DiceGroup> &earlier = earlierDice_[slot];
        const auto same = std::find_if(earlier.begin(), earlier.end(), [&](const DiceGroup &g) {
            return g.sides == last->sides && g.rerolledFaces == last->rerolledFaces;
        });
        if (same != earlier.end())
            same->dice += last->dice;
        else
            earlier.push_back({last->sides, last->rerolledFaces, last->dice});
    }
    lastRoll_[slot] = LastRoll{thrown.sides, thrown.dice, std::move(summary), thrown.faces, 0, 0};
}

void DiceEngine::tell(Page page, RollKind kind, int value, const ThrownDice &thrown)
{
    if (listener_)
        listener_({page, kind, value, thrown});
}

void DiceEngine::hitRoll(int dice, int sides, bool newCount)
{
    reseedFromClock();
    countRoll(Page::Hit);
    if (newCount)
        clearCounts(Page::Hit);
    const ThrownDice thrown = throwDice(static_cast<std::uint64_t>(std::max(dice, 0)), sides);
    changeFaceRow(Page::Hit, {}, thrown.faces);
    rewriteAtLeastRow(Page::Hit);
    std::string summary = hitSummary(dice, sides);
    rows(Page::Hit).resultFrame.setCaption(summary);
    remember(Page::Hit, thrown, std::move(summary));
    tell(Page::Hit, RollKind::Roll, 0, thrown);
}

std::optional<std::string> DiceEngine::followUpRoll(int index, int sides, bool newCount)
{
    if (index < 0 || index >= kThresholdCount)
        return std::nullopt;
    // Wider than the 16 bits a count was once read into: every hit shown is rolled.
    const std::uint64_t dice = countAsDice(readCount(captionAt(rows(Page::Hit).atLeastRow, index)));
    if (dice == 0)
        return refusalText(index);

    countRoll(Page::Damage);
    reseedFromClock();
    if (newCount)
        clearCounts(Page::Damage);
    const ThrownDice thrown = throwDice(dice, sides);
    changeFaceRow(Page::Damage, {}, thrown.faces);
    rewriteAtLeastRow(Page::Damage);
    std::string summary = followUpSummary(index, dice);
    rows(Page::Damage).resultFrame.setCaption(summary);
    remember(Page::Damage, thrown, std::move(summary));
    tell(Page::Damage, RollKind::FollowUp, index + 2, thrown);
    return std::nullopt;
}

std::string DiceEngine::followUpToolTip(int index) const
{
    if (index < 0 || index >= kThresholdCount)
        return {};
    return captionAt(pages_[0].atLeastRow, index) + " Würfe";
}

void DiceEngine::resetRollCounter(Page page)
{
    rollCounter_[index(page)] = 0.0;
    rows(page).counterLabel.setCaption(counterText(rollCounter_[index(page)]));
}

std::uint64_t DiceEngine::rerollFace(Page page, int face)
{
    return reroll(page, RollKind::RerollFace, face, face, face);
}

std::uint64_t DiceEngine::rerollBelow(Page page, int threshold)
{
    return reroll(page, RollKind::RerollBelow, threshold, 1, threshold - 1);
}

std::uint64_t DiceEngine::reroll(Page page, RollKind kind, int value, int firstFace, int lastFace)
{
    std::optional<LastRoll> &last = lastRoll_[static_cast<std::size_t>(index(page))];
    if (!last)
        return 0;
    std::array<std::uint64_t, kFaceCount> taken{};
    std::uint64_t dice = 0;
    std::uint16_t faces = 0;
    for (int face = std::max(firstFace, 1); face <= std::min(lastFace, kFaceCount); ++face) {
        const auto f = static_cast<std::size_t>(face - 1);
        taken[f] = last->rerollable[f];
        dice += taken[f];
        faces |= static_cast<std::uint16_t>(1u << f);
    }
    if (dice == 0)
        return 0;
    // Every die of the roll that first showed one of these faces is thrown again, now or never.
    for (std::size_t f = 0; f < taken.size(); ++f)
        last->rerollable[f] -= taken[f];
    last->rerolledFaces |= faces;
    reseedFromClock();
    const ThrownDice thrown = throwDice(dice, last->sides);
    changeFaceRow(page, taken, thrown.faces);
    rewriteAtLeastRow(page);
    last->rerolled += dice;
    rows(page).resultFrame.setCaption(rerolledSummary(last->summary, last->rerolled));
    tell(page, kind, value, thrown);
    return dice;
}

std::uint64_t DiceEngine::rerollableFace(Page page, int face) const
{
    return rerollableBelow(page, face + 1) - rerollableBelow(page, face);
}

std::uint64_t DiceEngine::rerollableBelow(Page page, int threshold) const
{
    const std::optional<LastRoll> &last = lastRoll_[static_cast<std::size_t>(index(page))];
    if (!last)
        return 0;
    std::uint64_t dice = 0;
    for (int face = 1; face < std::min(threshold, kFaceCount + 1); ++face)
        dice += last->rerollable[static_cast<std::size_t>(face - 1)];
    return dice;
}

std::optional<int> DiceEngine::lastRollSides(Page page) const
{
    const std::optional<LastRoll> &last = lastRoll_[static_cast<std::size_t>(index(page))];
    if (!last)
        return std::nullopt;
    return last->sides;
}

std::vector<DiceGroup> DiceEngine::diceBehind(Page page) const
{
    const auto slot = static_cast<std::size_t>(index(page));
    std::vector<DiceGroup> groups = earlierDice_[slot];
    if (const std::optional<LastRoll> &last = lastRoll_[slot])
        groups.push_back({last->sides, last->rerolledFaces, last->dice});
    return groups;
}

void DiceEngine::setListener(std::function<void(const RollEvent &)> listener)
{
    listener_ = std::move(listener);
}

} // namespace talvero

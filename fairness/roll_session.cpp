// SPDX-License-Identifier: GPL-3.0-or-later
#include "fairness/roll_session.h"

#include "engine/count_text.h"

#include <string_view>
#include <unordered_set>
#include <utility>

namespace talvero::fairness {

namespace {

// The clock's seed of a click is 0 when the seconds or the minutes read 0.
bool seedIsZero(Microseconds click)
{
    const TimeOfDay first = timeOfDay(click);
    const TimeOfDay second = timeOfDay(click + ClickClock::kReadInterval);
    const TimeOfDay third = timeOfDay(click + 2 * ClickClock::kReadInterval);
    return first.second == 0 || second.second == 0 || third.minute == 0;
}

bool secondsTurnWithinReads(Microseconds click)
{
    return timeOfDay(click).second != timeOfDay(click + ClickClock::kReadInterval).second;
}

// The twin re-seeds as a roll does, from three reads of its own clock: the seconds of the first
// two times the minutes of the third. Worked out here, not by the engine, so that a wrong seed
// there shows as a roll the twin does not retrace.
std::uint64_t seedFromClock(Clock &clock)
{
    const TimeOfDay first = clock.now();
    const TimeOfDay second = clock.now();
    const TimeOfDay third = clock.now();
    return static_cast<std::uint64_t>(first.second) * static_cast<std::uint64_t>(second.second) *
           static_cast<std::uint64_t>(third.minute);
}

} // namespace

std::string differenceFrom(const CountRow &faceRow,
                           std::span<const std::uint64_t, DiceEngine::kFaceCount> counts)
{
    std::string shown;
    std::string thrown;
    bool differ = false;
    for (int label = 0; label < DiceEngine::kFaceCount; ++label) {
        const std::uint64_t count = counts[static_cast<std::size_t>(label)];
        differ = differ || readCount(faceRow.caption(label)) != static_cast<double>(count);
        shown += ' ' + faceRow.caption(label);
        thrown += ' ' + std::to_string(count);
    }
    if (!differ)
        return {};
    return "the window counted" + shown + ", the retraced dice give" + thrown;
}

ClickReplay::ClickReplay(Clock &windowClock, Clock &twinClock, std::uint64_t startSeed,
                         std::uint64_t twinStartSeed)
    : window_(windowClock, startSeed)
    , twinClock_(twinClock)
    , twin_(twinStartSeed)
{
    window_.engine().setListener([this](const RollEvent &event) { lastThrown_ = event.thrown; });
}

std::array<std::uint64_t, DiceEngine::kFaceCount> ClickReplay::retrace(std::uint64_t dice,
                                                                       int sides)
{
    twin_.reseed(seedFromClock(twinClock_));
    std::array<std::uint64_t, DiceEngine::kFaceCount> counts{};
    rethrown_.clear();
    for (std::uint64_t d = 0; d < dice; ++d) {
        rethrown_.push_back(DiceEngine::faceValue(twin_.next(), sides));
        ++counts[static_cast<std::size_t>(rethrown_.back() - 1)];
    }
    return counts;
}

std::string ClickReplay::reroll(int sides, int threshold, std::vector<std::uint64_t> &rerolled,
                                std::vector<std::uint64_t> &pairs)
{
    std::array<std::uint64_t, DiceEngine::kFaceCount> rolled{};
    for (const std::int16_t face : faces_)
        ++rolled[static_cast<std::size_t>(face - 1)];
    std::array<std::uint64_t, DiceEngine::kFaceCount> shown = rolled;
    // The 1s, then the faces from 2 below the threshold: dice of the roll, never one rerolled.
    const std::pair<int, int> steps[] = {{1, 1}, {2, threshold - 1}};
    for (const auto &[firstFace, lastFace] : steps) {
        std::uint64_t dice = 0;
        for (int face = firstFace; face <= lastFace; ++face)
            dice += rolled[static_cast<std::size_t>(face - 1)];
        const std::uint64_t taken = firstFace == lastFace
                                        ? window_.engine().rerollFace(Page::Hit, firstFace)
                                        : window_.engine().rerollBelow(Page::Hit, threshold);
        if (taken != dice)
            return "a reroll took " + std::to_string(taken) + " dice instead of " +
                   std::to_string(dice);
        if (dice == 0)
            continue; // nothing thrown, no re-seed
        const auto thrown = retrace(dice, sides);
        if (thrown != lastThrown_.faces)
            return "a reroll threw other dice than its retracing";
        addRerollPairs(faces_, firstFace, lastFace, rethrown_, sides, pairs);
        for (int face = firstFace; face <= lastFace; ++face)
            shown[static_cast<std::size_t>(face - 1)] -= rolled[static_cast<std::size_t>(face - 1)];
        for (std::size_t face = 0; face < thrown.size(); ++face) {
            shown[face] += thrown[face];
            if (face < rerolled.size())
                rerolled[face] += thrown[face];
        }
        if (std::string difference = differenceFrom(window_.faceRow(Page::Hit), shown);
            !difference.empty())
            return "after a reroll " + difference;
    }
    return {};
}

std::string ClickReplay::click(int sides)
{
    window_.engine().hitRoll(kDicePerRoll, sides, true);

    twin_.reseed(seedFromClock(twinClock_));
    std::array<std::uint64_t, DiceEngine::kFaceCount> counts{};
    bool inRange = true;
    for (std::int16_t &face : faces_) {
        face = DiceEngine::faceValue(twin_.next(), sides);
        if (face >= 1 && face <= DiceEngine::kFaceCount)
            ++counts[static_cast<std::size_t>(face - 1)];
        else
            inRange = false;
    }
    if (!inRange)
        return "a retraced die fell outside 1.." + std::to_string(sides);
    return differenceFrom(window_.faceRow(Page::Hit), counts);
}

SidesRun rollSides(int sides, std::uint64_t rolls, std::uint64_t startSeed, ClickSchedule &schedule,
                   std::optional<std::uint64_t> twinStartSeed)
{
    ClickClock windowClock;
    ClickClock twinClock;
    ClickReplay replay(windowClock, twinClock, startSeed, twinStartSeed.value_or(startSeed));
    SidesRun run{DiceTally(sides), {}, {}, 0, 0, 0, {}};
    run.rerolledFaces.resize(static_cast<std::size_t>(sides));
    // A row of pairs for each face that is rerolled: 1 up to below the threshold.
    run.rerollPairs.resize(static_cast<std::size_t>((rerollThreshold(sides) - 1) * sides));
    for (std::uint64_t roll = 0; roll < rolls; ++roll) {
        const Microseconds click = schedule.next();
        windowClock.setTime(click);
        twinClock.setTime(click);
        if (std::string difference = replay.click(sides); !difference.empty()) {
            run.failure = std::to_string(sides) + " sides, roll " + std::to_string(roll + 1) +
                          ": " + difference;
            return run;
        }
        run.tally.addRoll(replay.faces());
        if (std::string difference =
                replay.reroll(sides, rerollThreshold(sides), run.rerolledFaces, run.rerollPairs);
            !difference.empty()) {
            run.failure = std::to_string(sides) + " sides, roll " + std::to_string(roll + 1) +
                          ": " + difference;
            return run;
        }
        ++run.rolls;
        if (seedIsZero(click))
            ++run.zeroSeedRolls;
        if (secondsTurnWithinReads(click))
            ++run.splitReadRolls;
    }
    return run;
}

StartsRun checkStarts(int starts, int sides, TimeOfDay frozenAt, const StartSeedSource &seedOfStart)
{
    FixedClock clock(frozenAt);
    std::unordered_set<std::string> firstRolls;
    firstRolls.reserve(static_cast<std::size_t>(starts));
    StartsRun run;
    for (int start = 0; start < starts; ++start) {
        const std::uint64_t seed = seedOfStart();
        ClickReplay replay(clock, clock, seed, seed);
        ++run.starts;
        if (std::string difference = replay.click(sides); !difference.empty()) {
            run.failure = "start " + std::to_string(start + 1) + ": " + difference;
            return run;
        }
        std::string dice;
        dice.reserve(kDicePerRoll);
        for (const std::int16_t face : replay.faces())
            dice.push_back(static_cast<char>(face));
        if (!firstRolls.insert(std::move(dice)).second)
            ++run.replayedFirstRolls;
    }
    return run;
}

} // namespace talvero::fairness

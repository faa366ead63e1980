// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"
#include "engine/count_row.h"
#include "engine/dice_engine.h"
#include "engine/random_source.h"
#include "engine/text_pages.h"
#include "fairness/click_clock.h"
#include "fairness/dice_statistics.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talvero::fairness {

// As many dice as the dice selector allows: the largest hit roll a player can make.
constexpr int kDicePerRoll = 200;

// How a face row's captions differ from these counts (element k: dice that showed k + 1), or
// nothing when they show exactly these.
std::string differenceFrom(const CountRow &faceRow,
                           std::span<const std::uint64_t, DiceEngine::kFaceCount> counts);

// One click on "Würfeln" in "neue Zählung" mode, the largest roll, and the same roll retraced
// die by die by a twin: a random source of its own from the same start seed, re-seeded from the
// same clock readings. The retraced faces are the real roll's only if their tallies equal the
// captions the roll wrote.
class ClickReplay
{
public:
    ClickReplay(Clock &windowClock, Clock &twinClock, std::uint64_t startSeed,
                std::uint64_t twinStartSeed);

    // Clicks once with `sides` sides; how the retraced dice differ from the captions, or nothing
    // when they agree.
    std::string click(int sides);

    // The faces of the last click, in the order they were drawn.
    std::span<const std::int16_t> faces() const { return faces_; }

    // After a click, as a player does through the menu: rerolls its 1s, then its fails below
    // `threshold`, and retraces both. How the rerolls differ from their retracing (the dice taken,
    // thrown and shown), or nothing. The faces the rerolls threw are added to `rerolled`
    // (element k: dice that showed k + 1), each paired with its first face to `pairs` (see
    // addRerollPairs).
    std::string reroll(int sides, int threshold, std::vector<std::uint64_t> &rerolled,
                       std::vector<std::uint64_t> &pairs);

private:
    // A re-seed from the twin's clock, as a roll makes it, then `dice` dice, kept in `rethrown_`.
    std::array<std::uint64_t, DiceEngine::kFaceCount> retrace(std::uint64_t dice, int sides);

    TextPages window_;
    Clock &twinClock_;
    RandomSource twin_;
    std::array<std::int16_t, kDicePerRoll> faces_{};
    std::vector<std::int16_t> rethrown_; // the faces of the last retraced reroll, in draw order
    ThrownDice lastThrown_;              // what the window's engine said it threw last
};

struct SidesRun
{
    DiceTally tally;
    std::vector<std::uint64_t> rerolledFaces; // the dice the rerolls threw, by face
    std::vector<std::uint64_t> rerollPairs;   // each with the face it first showed
    std::uint64_t rolls = 0;
    std::uint64_t zeroSeedRolls = 0;  // the clock's seconds or minutes read 0
    std::uint64_t splitReadRolls = 0; // the seconds turned over between two reads of one roll
    std::string failure; // the first roll whose retraced dice differed from the captions
};

// The threshold whose fails a roll with `sides` sides rerolls: the middle one, 4+ of six sides.
constexpr int rerollThreshold(int sides)
{
    return (sides + 2) / 2;
}

// A program start, then `rolls` clicks with `sides` sides at the moments of the schedule, each
// followed by its rerolls. Stops
// at the first roll the twin does not retrace: the dice after it would prove nothing. The twin
// starts from the same seed unless told otherwise (to see that a twin gone astray is caught).
SidesRun rollSides(int sides, std::uint64_t rolls, std::uint64_t startSeed, ClickSchedule &schedule,
                   std::optional<std::uint64_t> twinStartSeed = {});

struct StartsRun
{
    int starts = 0;
    int replayedFirstRolls = 0; // first rolls equal, die by die, to an earlier start's
    std::string failure;        // the first start whose roll the twin did not retrace
};

// The seed a new program start hands its engine (the window's is startSeed()).
using StartSeedSource = std::function<std::uint64_t()>;

// `starts` program starts, each with a new engine, all in the same second; each clicks once.
// Counts the first rolls that repeat an earlier one's dice in the same order.
StartsRun checkStarts(int starts, int sides, TimeOfDay frozenAt,
                      const StartSeedSource &seedOfStart);

} // namespace talvero::fairness

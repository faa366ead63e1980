// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"
#include "engine/count_row.h"
#include "engine/random_source.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace talvero {

// Tally set 0 belongs to the hit roll, tally set 1 to the follow-up damage roll.
enum class Tally : int
{
    Hit = 0,
    Damage = 1
};

// The dice engine of both tab pages. Counts have no storage here: they are the captions of the
// rows it is given, read, changed and written back. Apart from them it keeps only the two roll
// counters and the random source.
class DiceEngine
{
public:
    static constexpr int kFaceCount = 10;     // face values 1..10
    static constexpr int kThresholdCount = 9; // thresholds 2+..10+

    // The rows must have at least kFaceCount and kThresholdCount elements.
    DiceEngine(const TallySet &hit, const TallySet &damage, Clock &clock, std::uint64_t startSeed);

    // "Würfeln": a hit roll of `dice` dice with `sides` sides each.
    void hitRoll(int dice, int sides, bool newCount);

    // A follow-up button (index 0..8, threshold index + 2). Returns the refusal text when the hit
    // page shows no hits at that threshold; nothing has changed then.
    std::optional<std::string> followUpRoll(int index, int sides, bool newCount);

    // The follow-up button's tool tip: the hit page's caption at that threshold, as shown.
    std::string followUpToolTip(int index) const;

    // The cross of a page: every count "0", the result frame back to "Wurfergebnis".
    void clearCounts(Tally set);
    // The circular arrow of a page: its roll counter back to 0.
    void resetRollCounter(Tally set);

    // A face value from a draw r in [0, 1): floor(sides * r + 1) in double precision.
    static std::int16_t faceValue(float r, int sides)
    {
        return static_cast<std::int16_t>(static_cast<double>(sides) * static_cast<double>(r) + 1.0);
    }

    // The number a roll mixes into the random source, from three reads of the clock: the seconds
    // of the first two times the minutes of the third.
    static std::uint64_t clockSeed(TimeOfDay first, TimeOfDay second, TimeOfDay third)
    {
        return static_cast<std::uint64_t>(second.second) *
               static_cast<std::uint64_t>(first.second) * static_cast<std::uint64_t>(third.minute);
    }

private:
    static int index(Tally set) { return static_cast<int>(set); }
    TallySet &tally(Tally set) { return sets_[index(set)]; }

    void reseedFromClock();
    void countRoll(Tally set);
    void throwDice(Tally set, std::uint64_t dice, int sides);
    void rewriteAtLeastRow(Tally set);

    std::array<TallySet, 2> sets_;
    Clock &clock_;
    RandomSource random_;
    std::array<double, 2> rollCounter_{0.0, 0.0};
};

} // namespace talvero

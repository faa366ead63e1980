// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"
#include "engine/count_row.h"
#include "engine/odds.h"
#include "engine/random_source.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace talvero {

// The two tab pages: the hit roll, and the follow-up roll for damage.
enum class Page : int
{
    Hit = 0,
    Damage = 1
};

inline constexpr int kFaceCount = 10; // face values 1..10

// What one roll, follow-up roll or reroll threw: how many dice with how many sides, and how
// many of them showed each face (not the page's totals).
struct ThrownDice
{
    std::uint64_t dice = 0;
    int sides = 0;
    std::array<std::uint64_t, kFaceCount> faces{}; // element k: dice that showed k + 1
};

enum class RollKind
{
    Roll,        // "Würfeln"
    FollowUp,    // a follow-up button: `value` is its threshold
    RerollFace,  // the dice that show `value`
    RerollBelow, // the dice below the threshold `value`
};

// The counts a page shows, as numbers.
struct PageCounts
{
    std::array<std::uint64_t, kFaceCount> faces{};       // element k: "k+1er"
    std::array<std::uint64_t, kFaceCount - 1> atLeast{}; // element k: "k+2+"
};

// A step that threw dice, as it happened.
struct RollEvent
{
    Page page = Page::Hit;
    RollKind kind = RollKind::Roll;
    int value = 0;
    ThrownDice thrown;
};

// The dice engine of both tab pages. Counts have no storage here: they are the captions of the
// rows it is given, read, changed and written back. Apart from them it keeps the two roll
// counters, the random source, and of each page's last roll what a reroll needs.
class DiceEngine
{
public:
    static constexpr int kFaceCount = talvero::kFaceCount;
    static constexpr int kThresholdCount = 9; // thresholds 2+..10+

    // Rows shorter than kFaceCount and kThresholdCount read as "0" where they end.
    DiceEngine(const PageRows &hit, const PageRows &damage, Clock &clock, std::uint64_t startSeed);

    // "Würfeln": a hit roll of `dice` dice with `sides` sides each.
    void hitRoll(int dice, int sides, bool newCount);

    // A follow-up button (index 0..8, threshold index + 2). Returns the refusal text when the hit
    // page shows no hits at that threshold; nothing has changed then.
    std::optional<std::string> followUpRoll(int index, int sides, bool newCount);

    // The follow-up button's tool tip: the hit page's caption at that threshold, as shown.
    std::string followUpToolTip(int index) const;

    // The cross of a page: every count "0", the result frame back to "Wurfergebnis".
    void clearCounts(Page page);
    // The circular arrow of a page: its roll counter back to 0.
    void resetRollCounter(Page page);

    // Rerolls of the page's last roll; each die of it is rerolled at most once. The dice of the
    // last roll that show `face` and were not rerolled yet, or that show a face below
    // `threshold`, are taken from the face counts and thrown again with the last roll's number
    // of sides. Not a roll: the counter stays; the frame adds how many were rerolled. Returns
    // how many dice were thrown again (0: nothing to reroll, nothing changed).
    std::uint64_t rerollFace(Page page, int face);
    std::uint64_t rerollBelow(Page page, int threshold);
    // How many dice those would take now.
    std::uint64_t rerollableFace(Page page, int face) const;
    std::uint64_t rerollableBelow(Page page, int threshold) const;
    // The number of sides of the page's last roll; nothing before its first roll and after its
    // counts were cleared.
    std::optional<int> lastRollSides(Page page) const;

    // The dice behind a page's counts: every roll since the page was last cleared, grouped by
    // number of sides and rerolled faces, for the odds of its counts.
    std::vector<DiceGroup> diceBehind(Page page) const;

    // The counts the page shows now; a caption that is no count reads as 0.
    PageCounts counts(Page page) const;

    // Told of every roll, follow-up roll and reroll once its captions are written.
    void setListener(std::function<void(const RollEvent &)> listener);

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
    // A page's last roll, while its dice can be rerolled.
    struct LastRoll
    {
        int sides = 0;
        std::uint64_t dice = 0;
        std::string summary;                                // the frame's caption the roll wrote
        std::array<std::uint64_t, kFaceCount> rerollable{}; // by face: dice not rerolled yet
        std::uint16_t rerolledFaces = 0;                    // bit f - 1: face f was rerolled
        std::uint64_t rerolled = 0;
    };

    static int index(Page page) { return static_cast<int>(page); }
    PageRows &rows(Page page) { return pages_[index(page)]; }

    void reseedFromClock();
    void countRoll(Page page);
    ThrownDice throwDice(std::uint64_t dice, int sides);
    // Writes the face counts less `taken`, plus `added`; each changed caption once.
    void changeFaceRow(Page page, const std::array<std::uint64_t, kFaceCount> &taken,
                       const std::array<std::uint64_t, kFaceCount> &added);
    void rewriteAtLeastRow(Page page);
    void remember(Page page, const ThrownDice &thrown, std::string summary);
    std::uint64_t reroll(Page page, RollKind kind, int value, int firstFace, int lastFace);
    void tell(Page page, RollKind kind, int value, const ThrownDice &thrown);

    std::array<PageRows, 2> pages_;
    Clock &clock_;
    RandomSource random_;
    std::array<double, 2> rollCounter_{0.0, 0.0};
    std::array<std::optional<LastRoll>, 2> lastRoll_;
    // The rolls of each page before its last one, since it was last cleared.
    std::array<std::vector<DiceGroup>, 2> earlierDice_;
    std::function<void(const RollEvent &)> listener_;
};

} // namespace talvero

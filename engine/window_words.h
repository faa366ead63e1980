// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "choices/window_choices.h"
#include "engine/dice_engine.h"
#include "engine/odds.h"

#include <span>
#include <string>
#include <string_view>

namespace talvero {

// The window's fixed texts by a plain English key, for a front end that has no design file of
// its own to take them from (the web edition).
struct WindowWord
{
    std::string_view key;
    std::string_view text;
};
std::span<const WindowWord> windowWords();

// The ranges and starting values of the window's choices, as the desktop keeps them.
struct DiceLimits
{
    int fewestDice = WindowChoices::kFewestDice;
    int mostDice = WindowChoices::kMostDice;
    int fewestSides = WindowChoices::kFewestSides;
    int mostSides = WindowChoices::kMostSides;
    int defaultDice = WindowChoices{}.dice;
    int defaultSides = WindowChoices{}.sides;
    bool defaultAddHits = WindowChoices{}.addHits;
    bool defaultAddDamage = WindowChoices{}.addDamage;
};
inline constexpr DiceLimits kDiceLimits{};

// The dice slider's name for a screen reader, with the sides chosen: "Würfelanzahl mit 6 Seiten".
std::string diceLabel(int sides);

// A count's name as a screen reader reads it: "1er: 9", "4+: 27 Würfe".
std::string headedCaption(std::string_view heading, std::string_view caption);

// The caption of a page's odds table: "Sortierung, TREFFERWÜRFE", "Wurfergebnis, SCHADENSWÜRFE".
std::string oddsTableCaption(RowKind kind, Page page);

// One sentence on what a page shows now, for a live region: its frame, its counter and the
// at-least counts up to the last roll's sides ("…, Wurf 3. 2+: 50, 3+: 41."); only the frame
// and the counter before a roll and after the counts were cleared (`sides` 0).
std::string pageAnnouncement(std::string_view frame, std::string_view counter,
                             std::span<const std::string> atLeastCaptions, int sides);

} // namespace talvero

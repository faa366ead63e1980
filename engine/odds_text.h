// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/odds.h"

#include <cstdint>
#include <string>

namespace talvero {

// The odds in German, as UTF-8, the same under every locale. A no-break space (U+00A0) keeps
// "%" and "<" on their number's line.

// A number with one decimal after a comma, no grouping: "30,0". Exact halves round up.
std::string oneDecimalText(double value);
// Written: "30,0", "2,6 %", "< 0,1 %", "> 99,9 %", "24–36".
std::string expectedText(double expected);
std::string shareText(double share);
std::string usualRangeText(const RowOdds &odds);
// Spoken, for screen readers: "2,6 Prozent", "weniger als 0,1 Prozent", "24 bis 36".
std::string spokenShareText(double share);
std::string spokenRangeText(const RowOdds &odds);

// One plain sentence on one at-least row: its count against what fair dice give.
std::string oddsSentence(int threshold, std::uint64_t count, const RowOdds &odds);
// What a screen reader hears after an at-least count's heading: ", erwartet 30,0, üblich 24 bis
// 36"; nothing while no die is behind it.
std::string oddsDescription(const RowOdds &odds);

} // namespace talvero

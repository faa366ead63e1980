// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/odds_text.h"

#include <cmath>
#include <vector>

namespace talvero {

namespace {

constexpr const char *kNoBreakSpace = "\u00A0";
// A tail this rare earns "nur" before its share.
constexpr double kRare = 0.1;

// The exact decimal digits of a whole number held in a double, however large.
std::string wholeText(double whole)
{
    constexpr double kExactInteger = 9007199254740992.0; // 2^53
    if (whole < kExactInteger)
        return std::to_string(static_cast<std::uint64_t>(whole));
    int exponent = 0;
    const double mantissa = std::frexp(whole, &exponent);
    // whole = m · 2^(exponent - 53) with m a 53-bit whole number; doubled digit by digit.
    std::string digits = std::to_string(static_cast<std::uint64_t>(std::ldexp(mantissa, 53)));
    for (int doubling = 53; doubling < exponent; ++doubling) {
        int carry = 0;
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            const int twice = (*digit - '0') * 2 + carry;
            *digit = static_cast<char>('0' + twice % 10);
            carry = twice / 10;
        }
        if (carry != 0)
            digits.insert(digits.begin(), static_cast<char>('0' + carry));
    }
    return digits;
}

// A share in whole percent, for the sentence; never "0 %" or "100 %" for what can happen or fail.
bool roundsToNoPercent(double share)
{
    return share * 100.0 < 0.5;
}

std::string wholePercent(double share)
{
    const double percent = share * 100.0;
    if (share > 0.0 && roundsToNoPercent(share))
        return std::string("weniger als 1") + kNoBreakSpace + "%";
    if (percent < 100.0 && percent >= 99.5)
        return std::string("mehr als 99") + kNoBreakSpace + "%";
    return std::to_string(std::lround(percent)) + kNoBreakSpace + "%";
}

enum class Clipped
{
    No,
    Below, // under 0,1 %, but not impossible
    Above  // over 99,9 %, but not sure
};

Clipped clippedShare(double percent)
{
    if (percent > 0.0 && percent < 0.05)
        return Clipped::Below;
    if (percent < 100.0 && percent >= 99.95)
        return Clipped::Above;
    return Clipped::No;
}

} // namespace

std::string oneDecimalText(double value)
{
    if (!std::isfinite(value))
        return "0,0";
    std::string sign = std::signbit(value) ? "-" : "";
    value = std::fabs(value);
    double whole = std::floor(value);
    const double fraction = value - whole; // exact
    // fraction · 10 = scaled + error exactly, so a half is told from a hair below it.
    const double scaled = fraction * 10.0;
    const double error = std::fma(fraction, 10.0, -scaled);
    double tenths = std::floor(scaled);
    const double aboveHalf = (scaled - tenths) - 0.5;
    if (aboveHalf > 0.0 || (aboveHalf == 0.0 && error >= 0.0))
        tenths += 1.0;
    if (tenths >= 10.0) {
        tenths -= 10.0;
        whole += 1.0;
    }
    return sign + wholeText(whole) + "," + static_cast<char>('0' + static_cast<int>(tenths));
}

std::string expectedText(double expected)
{
    return oneDecimalText(expected);
}

std::string shareText(double share)
{
    const double percent = share * 100.0;
    switch (clippedShare(percent)) {
    case Clipped::Below:
        return std::string("<") + kNoBreakSpace + "0,1" + kNoBreakSpace + "%";
    case Clipped::Above:
        return std::string(">") + kNoBreakSpace + "99,9" + kNoBreakSpace + "%";
    case Clipped::No:
        break;
    }
    return oneDecimalText(percent) + kNoBreakSpace + "%";
}

std::string spokenShareText(double share)
{
    const double percent = share * 100.0;
    switch (clippedShare(percent)) {
    case Clipped::Below:
        return "weniger als 0,1 Prozent";
    case Clipped::Above:
        return "mehr als 99,9 Prozent";
    case Clipped::No:
        break;
    }
    return oneDecimalText(percent) + " Prozent";
}

std::string usualRangeText(const RowOdds &odds)
{
    return std::to_string(odds.usualLow) + "–" + std::to_string(odds.usualHigh);
}

std::string spokenRangeText(const RowOdds &odds)
{
    return std::to_string(odds.usualLow) + " bis " + std::to_string(odds.usualHigh);
}

std::string oddsSentence(int threshold, std::uint64_t count, const RowOdds &odds)
{
    if (odds.dice == 0)
        return "Auf dieser Seite liegen noch keine Würfel.";
    std::string text = std::to_string(threshold) + "+: " + std::to_string(count) + " von " +
                       std::to_string(odds.dice) + " Würfeln. Erwartet " +
                       expectedText(odds.expected) + ", üblich " + spokenRangeText(odds) + ". ";
    // The tail the count lies in: how often fair dice come out at least this far that way.
    const bool many = static_cast<double>(count) >= odds.expected;
    const double share = many ? odds.atLeastShare : odds.atMostShare;
    text += many ? "So viele oder mehr bringen " : "So wenige oder weniger bringen ";
    // "weniger als 1 %" says so alone; "nur" before it reads wrong.
    if (share < kRare && !roundsToNoPercent(share))
        text += "nur ";
    return text + wholePercent(share) + " der Würfe.";
}

std::string oddsDescription(const RowOdds &odds)
{
    if (odds.dice == 0)
        return {};
    return ", erwartet " + expectedText(odds.expected) + ", üblich " + spokenRangeText(odds);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvero {

// Counts live as captions: the decimal text of a whole number, digits only.
// Reading goes through double so that counts stay exact far beyond any roll a player makes.

// The count a caption shows. A caption that is not such a text reads as 0, so that a damaged
// caption can never stop a roll.
double readCount(std::string_view caption);

// The caption of a count: no sign, grouping, exponent or leading zeros ("1000000").
std::string countText(double count);
std::string countText(std::uint64_t count);

// A count as a number of dice: whole, non-negative, saturating at the largest 64-bit value.
std::uint64_t countAsDice(double count);

namespace detail {

// The conversions in plain integer arithmetic, for a standard library without floating-point
// from_chars and to_chars. Always built, so that their digits can be checked against the
// library's where it has them.

// The double nearest to a text of decimal digits (ties to even); nothing when it is too large.
std::optional<double> digitsValue(std::string_view digits);
// Every digit of a finite, non-negative whole number.
std::string wholeNumberText(double whole);

} // namespace detail

} // namespace talvero

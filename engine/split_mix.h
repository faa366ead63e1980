// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace talvero {

// SplitMix64 (Steele, Lea and Flood), the seeding companion the authors of xoshiro recommend.

// Its finaliser: spreads every bit of `x` over the whole word.
constexpr std::uint64_t splitMix64Mix(std::uint64_t x)
{
    x = (x ^ (x >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D0'49BB'1331'11EBull;
    return x ^ (x >> 31);
}

// One step: advances `state` and returns the next value.
constexpr std::uint64_t splitMix64Next(std::uint64_t &state)
{
    state += 0x9E37'79B9'7F4A'7C15ull;
    return splitMix64Mix(state);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/random_source.h"

namespace talvero {

namespace {

// SplitMix64, the seeding companion its authors recommend for xoshiro.
std::uint64_t splitMix64(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E37'79B9'7F4A'7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBull;
    return z ^ (z >> 31);
}

} // namespace

RandomSource::RandomSource(std::uint64_t initialSeed)
{
    for (auto &word : state_)
        word = splitMix64(initialSeed);
}

void RandomSource::reseed(std::uint64_t seed)
{
    for (auto &word : state_)
        word ^= splitMix64(seed);
    // The all-zero state is the one state xoshiro cannot leave.
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0)
        state_[0] = 1;
    // Spread the new bits over every word before the first value is drawn.
    for (int i = 0; i < 4; ++i)
        next64();
}

} // namespace talvero

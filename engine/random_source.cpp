// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/random_source.h"

#include "engine/split_mix.h"

namespace talvero {

RandomSource::RandomSource(std::uint64_t startSeed)
{
    for (auto &word : state_)
        word = splitMix64Next(startSeed);
}

void RandomSource::reseed(std::uint64_t seed)
{
    for (auto &word : state_)
        word ^= splitMix64Next(seed);
    // The all-zero state is the one state xoshiro cannot leave.
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0)
        state_[0] = 1;
    // Spread the new bits over every word before the first value is drawn.
    for (int i = 0; i < 4; ++i)
        next64();
}

} // namespace talvero

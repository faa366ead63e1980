// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace talvero {

// xoshiro256** (Blackman and Vigna): small, fast, and good enough for dice by a wide margin.
class RandomSource
{
public:
    explicit RandomSource(std::uint64_t startSeed);

    // Mixes the number into the current state: the new state depends on the old one as well,
    // so re-seeding twice with the same number does not replay what followed the first time.
    void reseed(std::uint64_t seed);

    // Uniform in [0, 1), from the top 24 bits: every value is an exact single-precision number.
    float next() { return static_cast<float>(next64() >> 40) * 0x1.0p-24f; }

    std::uint64_t next64()
    {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

private:
    static constexpr std::uint64_t rotl(std::uint64_t x, int k)
    {
        return (x << k) | (x >> (64 - k));
    }

    std::array<std::uint64_t, 4> state_{};
};

} // namespace talvero

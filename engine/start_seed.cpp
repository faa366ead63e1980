// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/start_seed.h"

#include <chrono>
#include <exception>
#include <random>
#include <unistd.h>

namespace talvero {

namespace {

std::uint64_t systemEntropy()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

// The finaliser of SplitMix64: spreads every input bit over the whole word.
std::uint64_t spread(std::uint64_t x)
{
    x = (x ^ (x >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D0'49BB'1331'11EBull;
    return x ^ (x >> 31);
}

// Two processes started in the same nanosecond still differ in their ids.
std::uint64_t clockAndProcess()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    return spread(static_cast<std::uint64_t>(wall)) ^
           spread(static_cast<std::uint64_t>(steady) + 0x9E37'79B9'7F4A'7C15ull) ^
           spread(static_cast<std::uint64_t>(::getpid()) << 32);
}

} // namespace

std::uint64_t startSeed()
{
    return startSeed(systemEntropy);
}

std::uint64_t startSeed(const EntropyRead &entropy)
{
    try {
        return entropy();
    } catch (const std::exception &) {
        return clockAndProcess();
    }
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/start_seed.h"

#include "engine/split_mix.h"

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

// Two processes started in the same nanosecond still differ in their ids.
std::uint64_t clockAndProcess()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    std::uint64_t steadyState = static_cast<std::uint64_t>(steady);
    return splitMix64Mix(static_cast<std::uint64_t>(wall)) ^ splitMix64Next(steadyState) ^
           splitMix64Mix(static_cast<std::uint64_t>(::getpid()) << 32);
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

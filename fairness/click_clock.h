// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"

#include <cstdint>
#include <random>

namespace talvero::fairness {

// Time of day in microseconds since midnight.
using Microseconds = std::int64_t;

constexpr Microseconds kMicrosecondsPerSecond = 1'000'000;
constexpr Microseconds kMicrosecondsPerMinute = 60 * kMicrosecondsPerSecond;
constexpr Microseconds kMicrosecondsPerDay = 24 * 60 * kMicrosecondsPerMinute;

TimeOfDay timeOfDay(Microseconds time);

// The clock a roll reads, set to the moment of the click. A real clock runs on while the roll
// reads it, so every read comes a little later than the one before and a roll can see the
// seconds turn over between two reads.
class ClickClock final : public Clock
{
public:
    // About what one read of the local time costs.
    static constexpr Microseconds kReadInterval = 1;

    void setTime(Microseconds time) { time_ = time; }
    TimeOfDay now() override;

private:
    Microseconds time_ = 0;
};

// The moments at which a player clicks "Würfeln" again and again: 100 to 500 ms apart, so two
// to ten rolls fall into each second while the seconds, minutes and hours run on.
class ClickSchedule
{
public:
    static constexpr Microseconds kShortestGap = 100'000;
    static constexpr Microseconds kLongestGap = 500'000;

    // The first click falls at a time of day drawn from the seed.
    explicit ClickSchedule(std::uint64_t seed);

    // The time of day of the next click.
    Microseconds next();

    // How long the clicks so far took, from the first moment.
    Microseconds elapsed() const { return elapsed_; }

private:
    std::mt19937_64 generator_;
    std::uniform_int_distribution<Microseconds> gap_{kShortestGap, kLongestGap};
    Microseconds time_;
    Microseconds elapsed_ = 0;
};

} // namespace talvero::fairness

// SPDX-License-Identifier: GPL-3.0-or-later
#include "fairness/click_clock.h"

namespace talvero::fairness {

TimeOfDay timeOfDay(Microseconds time)
{
    const Microseconds withinDay =
        ((time % kMicrosecondsPerDay) + kMicrosecondsPerDay) % kMicrosecondsPerDay;
    constexpr Microseconds minutesPerHour = 60;
    return {static_cast<int>(withinDay / kMicrosecondsPerMinute % minutesPerHour),
            static_cast<int>(withinDay % kMicrosecondsPerMinute / kMicrosecondsPerSecond)};
}

TimeOfDay ClickClock::now()
{
    const TimeOfDay read = timeOfDay(time_);
    time_ += kReadInterval;
    return read;
}

ClickSchedule::ClickSchedule(std::uint64_t seed)
    : generator_(seed)
    , time_(std::uniform_int_distribution<Microseconds>(0, kMicrosecondsPerDay - 1)(generator_))
{}

Microseconds ClickSchedule::next()
{
    const Microseconds gap = gap_(generator_);
    elapsed_ += gap;
    time_ = (time_ + gap) % kMicrosecondsPerDay;
    return time_;
}

} // namespace talvero::fairness

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

struct TimeOfDay
{
    int minute = 0; // 0..59
    int second = 0; // 0..59
    int hour = 0;   // 0..23; last, as the dice's seed reads only the other two
};

// The local time of day, behind an interface so that tests can fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual TimeOfDay now() = 0;
};

class SystemClock final : public Clock
{
public:
    TimeOfDay now() override;
};

// A clock that shows the time it is set to: for tests, and for many starts within one second.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(TimeOfDay time = {})
        : time_(time)
    {}
    TimeOfDay now() override { return time_; }
    void set(TimeOfDay time) { time_ = time; }

private:
    TimeOfDay time_;
};

} // namespace talvero

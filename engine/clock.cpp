// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/clock.h"

#include <ctime>

namespace talvero {

TimeOfDay SystemClock::now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    // Windows has the reentrant form under another name and argument order.
    if (localtime_s(&local, &t) != 0)
        return {};
#else
    if (localtime_r(&t, &local) == nullptr)
        return {};
#endif
    // tm_sec may read 60 during a leap second; keep the seconds within a minute.
    return {local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, local.tm_hour};
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/count_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace talvero {

double readCount(std::string_view caption)
{
    if (caption.empty())
        return 0.0;
    for (const char c : caption) {
        if (c < '0' || c > '9')
            return 0.0;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(caption.data(), caption.data() + caption.size(), value);
    if (error != std::errc{} || end != caption.data() + caption.size() || !std::isfinite(value))
        return 0.0;
    return value;
}

std::string countText(double count)
{
    if (!std::isfinite(count) || count < 0.0)
        return std::string(1, '0');
    // A whole-number count prints exactly; fixed notation never falls back to an exponent.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::floor(count), std::chars_format::fixed, 0);
    return std::string(buffer.data(), result.ptr);
}

std::string countText(std::uint64_t count)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), count);
    return std::string(buffer.data(), result.ptr);
}

std::uint64_t countAsDice(double count)
{
    if (!(count >= 1.0))
        return 0;
    // 2^64 as a double; anything at or above saturates instead of overflowing.
    constexpr double limit = 18446744073709551616.0;
    if (count >= limit)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(count);
}

} // namespace talvero

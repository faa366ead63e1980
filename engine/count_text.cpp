// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/count_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>
#include <version>

namespace talvero {

namespace {

// A natural number in 32-bit limbs, least significant first.
using Limbs = std::vector<std::uint32_t>;

constexpr int kLimbBits = 32;
constexpr int kMantissaBits = std::numeric_limits<double>::digits;           // 53
constexpr int kLargestBitLength = std::numeric_limits<double>::max_exponent; // 1024
// More digits than this, without leading zeros, are beyond the largest double (~1.8e308).
constexpr std::size_t kMostDigits = std::numeric_limits<double>::max_exponent10 + 1;
constexpr std::uint32_t kChunk = 1'000'000'000; // nine decimal digits
constexpr int kChunkDigits = 9;

int bitLength(const Limbs &limbs)
{
    if (limbs.empty())
        return 0;
    int bits = 0;
    for (std::uint32_t top = limbs.back(); top != 0; top >>= 1)
        ++bits;
    return static_cast<int>(limbs.size() - 1) * kLimbBits + bits;
}

bool bitAt(const Limbs &limbs, int bit)
{
    return ((limbs[static_cast<std::size_t>(bit / kLimbBits)] >> (bit % kLimbBits)) & 1u) != 0;
}

} // namespace

namespace detail {

std::optional<double> digitsValue(std::string_view digits)
{
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > kMostDigits)
        return std::nullopt;
    Limbs limbs;
    for (const char digit : digits) {
        std::uint64_t carry = static_cast<std::uint64_t>(digit - '0');
        for (std::uint32_t &limb : limbs) {
            carry += static_cast<std::uint64_t>(limb) * 10;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= kLimbBits;
        }
        if (carry != 0)
            limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    const int length = bitLength(limbs);
    if (length > kLargestBitLength)
        return std::nullopt;
    // The leading 53 bits, rounded to nearest by the next bit and the rest, ties to even.
    std::uint64_t mantissa = 0;
    const int lowest = std::max(length - kMantissaBits, 0);
    for (int bit = length - 1; bit >= lowest; --bit)
        mantissa = (mantissa << 1) | (bitAt(limbs, bit) ? 1u : 0u);
    if (lowest > 0 && bitAt(limbs, lowest - 1)) {
        bool sticky = false;
        for (int bit = 0; bit < lowest - 1 && !sticky; ++bit)
            sticky = bitAt(limbs, bit);
        if (sticky || (mantissa & 1u) != 0)
            ++mantissa;
    }
    const double value = std::ldexp(static_cast<double>(mantissa), lowest);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string wholeNumberText(double whole)
{
    if (!(whole >= 1.0) || !std::isfinite(whole))
        return std::string(1, '0');
    int exponent = 0;
    const double fraction = std::frexp(whole, &exponent);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    int shift = exponent - kMantissaBits;
    if (shift < 0) {
        mantissa >>= -shift;
        shift = 0;
    }
    // mantissa * 2^shift, spread over limbs.
    Limbs limbs(static_cast<std::size_t>(shift / kLimbBits), 0);
    const int bits = shift % kLimbBits;
    const std::uint64_t low = mantissa << bits;
    const std::uint64_t high = bits == 0 ? 0 : mantissa >> (2 * kLimbBits - bits);
    limbs.push_back(static_cast<std::uint32_t>(low));
    limbs.push_back(static_cast<std::uint32_t>(low >> kLimbBits));
    limbs.push_back(static_cast<std::uint32_t>(high));
    while (!limbs.empty() && limbs.back() == 0)
        limbs.pop_back();

    // Nine digits at a time from the bottom, by long division.
    std::vector<std::uint32_t> chunks;
    while (!limbs.empty()) {
        std::uint64_t rest = 0;
        for (auto limb = limbs.rbegin(); limb != limbs.rend(); ++limb) {
            const std::uint64_t part = (rest << kLimbBits) | *limb;
            *limb = static_cast<std::uint32_t>(part / kChunk);
            rest = part % kChunk;
        }
        chunks.push_back(static_cast<std::uint32_t>(rest));
        while (!limbs.empty() && limbs.back() == 0)
            limbs.pop_back();
    }
    std::string text = std::to_string(chunks.back());
    for (auto chunk = chunks.rbegin() + 1; chunk != chunks.rend(); ++chunk) {
        const std::string part = std::to_string(*chunk);
        text.append(static_cast<std::size_t>(kChunkDigits) - part.size(), '0');
        text += part;
    }
    return text;
}

} // namespace detail

double readCount(std::string_view caption)
{
    if (caption.empty())
        return 0.0;
    for (const char c : caption) {
        if (c < '0' || c > '9')
            return 0.0;
    }
#if defined(__cpp_lib_to_chars)
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(caption.data(), caption.data() + caption.size(), value);
    if (error != std::errc{} || end != caption.data() + caption.size() || !std::isfinite(value))
        return 0.0;
    return value;
#else
    return detail::digitsValue(caption).value_or(0.0);
#endif
}

std::string countText(double count)
{
    if (!std::isfinite(count) || count < 0.0)
        return std::string(1, '0');
#if defined(__cpp_lib_to_chars)
    // A whole-number count prints exactly; fixed notation never falls back to an exponent.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::floor(count), std::chars_format::fixed, 0);
    return std::string(buffer.data(), result.ptr);
#else
    return detail::wholeNumberText(std::floor(count));
#endif
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace talvero {

// Reads 64 bits from an entropy source; may throw where the system has none.
using EntropyRead = std::function<std::uint64_t()>;

// The random source's state at program start. Every run starts from entropy of its own: the
// clock seeds of the rolls alone would replay the rolls of another run started at the same
// minute and second. Where the system has no entropy source, the clock's nanoseconds and the
// process id stand in, so that a start never fails.
std::uint64_t startSeed();
std::uint64_t startSeed(const EntropyRead &entropy);

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace talvero {

// Why a system call on a file failed, in German words a user can act on (UTF-8); where the cause
// is not clear, it says so and gives the system's own words. A missing permission belongs to
// `folder`, where a new file had to be made; 0 is a failure reported without the system's error.
std::string failureCause(int error, std::string_view folder);

} // namespace talvero

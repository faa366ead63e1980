// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/twips_geometry.h"

namespace talvero {

// The window as designed, in twips: its client area, and the allowance for border and title bar
// that makes its outer size. It is never made smaller than this.
inline constexpr TwipsRect kDesignClientArea{0, 0, 9930, 4110};
inline constexpr float kBorderAllowanceWidth = 120;
inline constexpr float kBorderAllowanceHeight = 405;

} // namespace talvero

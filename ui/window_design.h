// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/page_text.h"
#include "ui/controls/twips_geometry.h"

#include <QString>

namespace talvero {

// The window as designed, in twips: its client area, and the allowance for border and title bar
// that makes its outer size. It is never made smaller than this.
inline constexpr TwipsRect kDesignClientArea{0, 0, 9930, 4110};
inline constexpr float kBorderAllowanceWidth = 120;
inline constexpr float kBorderAllowanceHeight = 405;

// The headings of the rows, counted from 0: "1er" to "10er", "2+" to "10+", as the engine
// names them.
inline QString faceHeading(int index)
{
    return QString::fromStdString(faceHeadingText(index));
}

inline QString thresholdHeading(int index)
{
    return QString::fromStdString(thresholdHeadingText(index));
}

} // namespace talvero

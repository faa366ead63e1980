// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/twips_geometry.h"

#include <algorithm>
#include <cmath>

namespace talvero {

int pixelsFromTwips(float twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QRect pixelRect(const TwipsRect &twips)
{
    const int left = pixelsFromTwips(twips.left);
    const int top = pixelsFromTwips(twips.top);
    const int right = pixelsFromTwips(twips.left + twips.width);
    const int bottom = pixelsFromTwips(twips.top + twips.height);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

void TwipsGeometry::setTwipsRect(const TwipsRect &rect)
{
    rect_ = rect;
    place();
}

void TwipsGeometry::assign(float TwipsRect::*field, float value)
{
    rect_.*field = value;
    place();
}

void TwipsGeometry::place()
{
    const QRect target = pixelRect(rect_);
    if (self_->geometry() != target)
        self_->setGeometry(target);
}

} // namespace talvero

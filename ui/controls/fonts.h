// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace talvero {

// The design's faces are Windows fonts. Maps each to the nearest face of similar metrics that
// Linux desktops have; safe to call more than once.
void installFontSubstitutes();

// The window's default font: MS Sans Serif 8.25 pt.
QFont designFont();
// Every push button's font: Verdana 8.25 pt.
QFont buttonFont();

} // namespace talvero

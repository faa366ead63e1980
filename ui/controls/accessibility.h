// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

// Makes the window's own controls known to assistive technology (AT-SPI on Linux): a count
// label reads as text whose name is its count and whose description is its column heading, a
// frame as a group named by its caption, and a picture that reacts to clicks can be pressed. A
// count label offers to show the context menu it is in. Safe to call more than once.
void installAccessibility();

// Lets assistive technology show the context menu of the widgets of this class, as the Menu key
// does. Call after installAccessibility().
void offerContextMenu(const char *className);

} // namespace talvero

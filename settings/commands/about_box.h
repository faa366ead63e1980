// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace talvero {

// The about message: product, version and the maker's contact lines, separated by carriage
// returns (a blank line after the version).
QString aboutText();
QString aboutTitle();

// Shows the about message in a modal box with the information icon and one OK button.
void showAbout(QWidget *parent);

} // namespace talvero

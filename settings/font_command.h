// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/font_dialog_control.h"

namespace talvero {

class MainWindow;
class SettingsStore;

// The stored font: a trimmed face name, bold, italic and size; what is empty or does not convert
// is left out.
FontPreset storedFont(const SettingsStore &store);

// Sets face, bold and italic of all count labels from the store; their size stays the
// layout's. A value that does not convert keeps the labels' own.
void SchriftSetzen(MainWindow &window, const SettingsStore &store);

// "Schriftart": the font dialog, preset from the store. A confirmed choice is stored and
// applied at once; a cancel changes nothing.
void cmd_Schrift_Click(MainWindow &window, SettingsStore &store);

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

class MainWindow;
class SettingsStore;

// Sets face, bold and italic of all count labels from the store; their size stays the
// layout's. A value that does not convert keeps the labels' own.
void SchriftSetzen(MainWindow &window, const SettingsStore &store);

// "Schriftart": the font dialog, preset from the store. A confirmed choice is stored and
// applied at once; a cancel changes nothing.
void cmd_Schrift_Click(MainWindow &window, SettingsStore &store);

} // namespace talvero

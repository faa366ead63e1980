// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

class MainWindow;
class SettingsStore;

// Sets face, bold and italic of all count labels from the store; their size stays the
// layout's. A value that does not convert keeps the labels' own.
void applyStoredFont(MainWindow &window, const SettingsStore &store);

// "Schriftart": the font dialog, preset from the store. A confirmed choice is stored and
// applied at once; one that cannot be stored is announced and not applied; a cancel changes
// nothing.
void chooseAndStoreFont(MainWindow &window, SettingsStore &store);

} // namespace talvero

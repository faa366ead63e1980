// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

class MainWindow;
class SettingsStore;
struct WindowChoices;

// The choices the store holds. A value that does not convert or is out of range falls back to
// its key's default.
WindowChoices storedChoices(const SettingsStore &store);

// Runs once when the window is created, before it is shown: applies the stored font, then the
// stored choices on the first page, each as the user would (their change handling runs).
void loadSettings(MainWindow &window, const SettingsStore &store);

// Runs once when the window closes: stores the selectors, the counting modes and the 90° box.
void saveSettings(const MainWindow &window, SettingsStore &store);

} // namespace talvero

#pragma once

namespace talvero {

class MainWindow;
class SettingsStore;

// Runs once when the window is created, before it is shown: applies the stored font, makes the
// first page current and sets the selectors, the counting modes and the 90° box from the store,
// each as the user would (their change handling runs). A stored value that does not convert or
// is out of range falls back to its key's default.
void loadSettings(MainWindow &window, const SettingsStore &store);

// Runs once when the window closes: stores the selectors, the counting modes and the 90° box.
void saveSettings(const MainWindow &window, SettingsStore &store);

} // namespace talvero

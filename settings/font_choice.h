#pragma once

namespace talvero {

class MainWindow;
class SettingsStore;

// Sets face, bold and italic of all count labels from the store, each from a fresh read;
// the size stays the layout's. A value that does not convert keeps the label's own.
void SchriftSetzen(MainWindow &window, const SettingsStore &store);

// "Schriftart": the font dialog, preset from the store. A confirmed choice is stored and
// applied at once; a cancel changes nothing.
void cmd_Schrift_Click(MainWindow &window, SettingsStore &store);

} // namespace talvero

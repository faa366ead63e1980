// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace talvero {

class MainWindow;
class SettingsStore;

// Ties the window to the settings store for one run: loads the settings when it is made,
// saves them once when the window closes (by any path, or when the application quits without
// closing it), and answers the window's font and logo commands.
class Session final : public QObject
{
    Q_OBJECT

public:
    Session(MainWindow &window, SettingsStore &store);

private:
    void unload();

    MainWindow &window_;
    SettingsStore &store_;
    bool unloaded_ = false;
};

} // namespace talvero

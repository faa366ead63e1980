// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace talvero {

class MainWindow;
class SettingsStore;

// Ties the window to the settings store for one run. When made, it applies the stored font and
// then the stored choices on the first page, each as the user would make it (their change
// handling runs). It saves the choices once when the window closes (by any path, or when the
// application quits without closing it), and answers the window's font and about commands.
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

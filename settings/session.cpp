// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/session.h"

#include "settings/about_box.h"
#include "settings/font_command.h"
#include "settings/startup.h"
#include "ui/main_window.h"

#include <QCoreApplication>

namespace talvero {

Session::Session(MainWindow &window, SettingsStore &store)
    : window_(window)
    , store_(store)
{
    loadSettings(window_, store_);
    connect(&window_, &MainWindow::closing, this, &Session::unload);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &Session::unload);
    connect(&window_, &MainWindow::fontRequested, this,
            [this] { cmd_Schrift_Click(window_, store_); });
    connect(&window_, &MainWindow::aboutRequested, this, [this] { showAbout(&window_); });
}

void Session::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    saveSettings(window_, store_);
}

} // namespace talvero

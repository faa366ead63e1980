// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/commands/session.h"

#include "settings/commands/about_box.h"
#include "settings/commands/font_command.h"
#include "settings/store/settings_store.h"
#include "ui/main_window.h"

#include <QCoreApplication>

namespace talvero {

Session::Session(MainWindow &window, SettingsStore &store)
    : window_(window)
    , store_(store)
{
    applyStoredFont(window_, store_);
    window_.applyChoices(store_.readChoices());
    connect(&window_, &MainWindow::closing, this, &Session::unload);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &Session::unload);
    connect(&window_, &MainWindow::fontRequested, this,
            [this] { chooseAndStoreFont(window_, store_); });
    connect(&window_, &MainWindow::aboutRequested, this, [this] { showAbout(&window_); });
}

void Session::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    store_.writeChoices(window_.choices());
    // The window closes either way; a failure is logged by the store.
    store_.save();
}

} // namespace talvero

#include "settings/session.h"

#include "settings/about_box.h"
#include "settings/font_choice.h"
#include "settings/startup.h"
#include "ui/main_window.h"

#include <QCoreApplication>

namespace talvero {

Session::Session(MainWindow &window, SettingsStore &store)
    : window_(window)
    , store_(store)
{
    loadSettings(window_, store_);
    connect(&window_, &MainWindow::unloading, this, &Session::unload);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &Session::unload);

    WindowControls &ui = window_.ui;
    connect(ui.cmd_Schrift, &CommandButton::clicked, this,
            [this] { cmd_Schrift_Click(window_, store_); });
    connect(ui.Logo, &ImageControl::clicked, this, [this] { showAbout(&window_); });
    // The same path as the window's close box.
    connect(ui.cmd_Ende, &CommandButton::clicked, this, [this] { window_.close(); });
}

void Session::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    saveSettings(window_, store_);
}

} // namespace talvero

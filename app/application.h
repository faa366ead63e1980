// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/close_on_signals.h"
#include "settings/session.h"
#include "settings/settings_store.h"
#include "ui/main_window.h"

#include <QTranslator>

namespace talvero {

// One run of Talvero: Qt's own texts in German, the user's settings store, the window, and
// the session between them. The settings are loaded when this is made; show the window next.
class Application
{
public:
    Application();

    MainWindow &window() { return window_; }

private:
    // Made before the rest: names the application, which the settings path and the desktop's
    // matching of window and launcher rely on, and installs Qt's German texts.
    struct Identity
    {
        explicit Identity(QTranslator &translator);
    };

    QTranslator translator_;
    Identity identity_;
    SettingsStore store_;
    MainWindow window_;
    Session session_;
    CloseOnSignals closeOnSignals_;
};

// Loads Qt's German texts (dialog buttons, the font dialog) into the translator and installs
// it; without them installed Qt's built-in English texts stay.
bool installGermanTranslation(QTranslator &translator);

} // namespace talvero

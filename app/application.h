#pragma once

#include "app/close_on_signals.h"
#include "settings/session.h"
#include "settings/settings_store.h"
#include "ui/main_window.h"

#include <QTranslator>

class QApplication;

namespace talvero {

// One run of Talvero: Qt's own texts in German, the user's settings store, the window, and
// the session between them. The settings are loaded when this is made; show the window next.
class Application
{
public:
    explicit Application(QApplication &app);

    MainWindow &window() { return window_; }

private:
    QTranslator translator_;
    SettingsStore store_;
    MainWindow window_;
    Session session_;
    CloseOnSignals closeOnSignals_;
};

// Loads Qt's German texts (dialog buttons, the font dialog) into the translator and installs
// it; without them installed Qt's built-in English texts stay.
bool installGermanTranslation(QTranslator &translator);

} // namespace talvero

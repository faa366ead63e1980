// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/close_on_signals.h"
#include "engine/clock.h"
#include "engine/start_seed.h"
#include "settings/commands/session.h"
#include "settings/store/settings_store.h"
#include "ui/main_window.h"

#include <QTranslator>
#include <cstdint>
#include <memory>

namespace talvero {

// What a run is made of. The defaults are a run as it ships: the user's own settings store, the
// system's clock and a start seed from the system's entropy source.
struct RunSetup
{
    QString settingsFile; // empty: the user's own store
    std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    std::uint64_t startSeed = talvero::startSeed();
};

// One run of Talvero, as main() starts it and as the tests start it: the process set up once
// (its name, Qt's German texts, the design's fonts, the accessibility of the window's own
// controls), then the settings store, the window, the session that loads the settings into it
// and saves them at close, and the process signals that close it.
class Application
{
public:
    explicit Application(const RunSetup &setup = {});

    MainWindow &window() { return window_; }

    // Shows the window and runs until it closes; the exit status.
    int run();

private:
    // Made before the rest: the name it sets is what the settings path and the desktop's
    // matching of window and launcher go by.
    struct ProcessSetup
    {
        explicit ProcessSetup(QTranslator &translator);
    };

    QTranslator translator_;
    ProcessSetup processSetup_;
    std::shared_ptr<Clock> clock_;
    SettingsStore store_;
    MainWindow window_;
    Session session_;
    CloseOnSignals closeOnSignals_;
};

// Loads Qt's German texts (dialog buttons, the font dialog) into the translator and installs
// it; whether that worked. Without them Qt's built-in English texts stay.
bool installGermanTranslation(QTranslator &translator);

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One run of the program on a settings file of its own: the store, the window and the session
// that loads the settings when it starts and saves them when the window closes.

#include "settings/session.h"
#include "settings/settings_store.h"
#include "support/window_driver.h"

#include <QFile>
#include <QSettings>

namespace talvero::testing {

struct Run
{
    explicit Run(const QString &storeFile)
        : store(storeFile)
        , session(window, store)
        , d(window)
    {}
    SettingsStore store;
    MainWindow window;
    Session session;
    Driver d;
};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0;
}

// A value as the settings file holds it ("Setup/Augen"), or nothing when it holds none.
inline QVariant stored(const QString &path, const QString &key)
{
    return QSettings(path, QSettings::IniFormat).value(key);
}

} // namespace talvero::testing

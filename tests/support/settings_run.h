// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program as main() starts it, on its own settings file, a test clock and a fixed seed.

#include "app/application.h"
#include "support/window_driver.h"

#include <QFile>
#include <QSettings>

namespace talvero::testing {

inline constexpr std::uint64_t kTestSeed = 20261207;

struct Run
{
    explicit Run(const QString &storeFile, std::uint64_t startSeed = kTestSeed)
        : clock(std::make_shared<FixedClock>(TimeOfDay{12, 34}))
        , app({.settingsFile = storeFile, .clock = clock, .startSeed = startSeed})
        , window(app.window())
        , d(window)
    {}
    std::shared_ptr<FixedClock> clock;
    Application app;
    MainWindow &window;
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

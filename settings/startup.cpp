// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/startup.h"

#include "settings/font_command.h"
#include "settings/settings_store.h"
#include "ui/main_window.h"

namespace talvero {

namespace {

// The stored whole number if it lies in [minimum, maximum], the key's default otherwise.
int wholeInRange(const SettingsStore &store, const SettingKey &key, int minimum, int maximum)
{
    const std::optional<int> value = store.readWhole(key);
    if (value && *value >= minimum && *value <= maximum)
        return *value;
    return parseWhole(key.defaultText()).value_or(minimum);
}

bool truthOrDefault(const SettingsStore &store, const SettingKey &key)
{
    return store.readTruth(key).value_or(parseTruth(key.defaultText()).value_or(false));
}

} // namespace

WindowChoices storedChoices(const SettingsStore &store)
{
    using C = WindowChoices;
    return {wholeInRange(store, keys::diceCount, C::kFewestDice, C::kMostDice),
            wholeInRange(store, keys::sides, C::kFewestSides, C::kMostSides),
            truthOrDefault(store, keys::addHits), truthOrDefault(store, keys::addDamage),
            // 0 unticked, 1 ticked; 2, a greyed box, stands for unticked here.
            wholeInRange(store, keys::turned, 0, 2) == 1};
}

void loadSettings(MainWindow &window, const SettingsStore &store)
{
    SchriftSetzen(window, store);
    window.applyChoices(storedChoices(store));
}

void saveSettings(const MainWindow &window, SettingsStore &store)
{
    const WindowChoices choices = window.choices();
    store.write(keys::diceCount, QString::number(choices.dice));
    store.write(keys::sides, QString::number(choices.sides));
    store.write(keys::addHits, truthText(choices.addHits));
    store.write(keys::addDamage, truthText(choices.addDamage));
    store.write(keys::turned, QString::number(choices.turned ? 1 : 0));
    // The window closes either way; a failure is logged by the store.
    store.save();
}

} // namespace talvero

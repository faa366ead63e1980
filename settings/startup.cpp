#include "settings/startup.h"

#include "settings/font_choice.h"
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

void loadSettings(MainWindow &window, const SettingsStore &store)
{
    WindowControls &ui = window.ui;
    SchriftSetzen(window, store);
    ui.SSTab->setCurrentPage(0);
    ui.HScroll->setValue(
        wholeInRange(store, keys::diceCount, ui.HScroll->minimum(), ui.HScroll->maximum()));
    ui.HScroll_Augen->setValue(
        wholeInRange(store, keys::sides, ui.HScroll_Augen->minimum(), ui.HScroll_Augen->maximum()));
    // True selects "Addition"; false leaves the pair as it is, "neue Zählung" by design.
    ui.OptionWurf[0]->setChecked(truthOrDefault(store, keys::addHits));
    ui.OptionWurf2[0]->setChecked(truthOrDefault(store, keys::addDamage));
    // 0 unticked, 1 ticked; 2, a greyed box, stands for unticked here.
    ui.Check_90Grad->setChecked(wholeInRange(store, keys::turned, 0, 2) == 1);
}

void saveSettings(const MainWindow &window, SettingsStore &store)
{
    const WindowControls &ui = window.ui;
    store.write(keys::diceCount, QString::number(ui.HScroll->value()));
    store.write(keys::sides, QString::number(ui.HScroll_Augen->value()));
    store.write(keys::addHits, truthText(ui.OptionWurf[0]->isChecked()));
    store.write(keys::addDamage, truthText(ui.OptionWurf2[0]->isChecked()));
    store.write(keys::turned, QString::number(ui.Check_90Grad->isChecked() ? 1 : 0));
    store.save();
}

} // namespace talvero

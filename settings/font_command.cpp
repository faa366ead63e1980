// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/font_command.h"

#include "settings/settings_store.h"
#include "ui/main_window.h"

namespace talvero {

FontPreset storedFont(const SettingsStore &store)
{
    const QString name = store.read(keys::fontName).trimmed();
    return {name.isEmpty() ? std::nullopt : std::optional<QString>(name),
            store.readTruth(keys::fontBold), store.readTruth(keys::fontItalic),
            store.readSize(keys::fontSize)};
}

void SchriftSetzen(MainWindow &window, const SettingsStore &store)
{
    const FontPreset font = storedFont(store);
    window.setCountFont({font.name.value_or(QString()), font.bold, font.italic});
}

void cmd_Schrift_Click(MainWindow &window, SettingsStore &store)
{
    // A preset that does not convert is left out: the dialog keeps what it had.
    const std::optional<FontChoice> choice = window.chooseFont(storedFont(store));
    if (!choice)
        return;
    store.write(keys::fontName, choice->name);
    store.write(keys::fontBold, truthText(choice->bold));
    store.write(keys::fontItalic, truthText(choice->italic));
    store.write(keys::fontSize, sizeText(choice->size));
    if (!store.save())
        return;
    SchriftSetzen(window, store);
}

} // namespace talvero

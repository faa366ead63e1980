// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/font_command.h"

#include "settings/settings_store.h"
#include "ui/main_window.h"

#include <QMessageBox>

namespace talvero {

namespace {

// Says that the font could not be stored, where and why, so the user can mend it and choose
// again.
void reportUnsavedFont(MainWindow &window, const QString &file, const QString &reason)
{
    QMessageBox box(QMessageBox::Warning, MainWindow::shortTitle(),
                    QStringLiteral("Die Schriftart konnte nicht gespeichert werden und bleibt, wie "
                                   "sie war.\n\nDatei: %1\n%2")
                        .arg(file, reason),
                    QMessageBox::Ok, &window);
    box.setObjectName(QStringLiteral("FontNotSaved"));
    box.exec();
}

} // namespace

FontPreset storedFont(const SettingsStore &store)
{
    const QString name = store.read(keys::fontName).trimmed();
    std::optional<float> size = store.readSize(keys::fontSize);
    // A size the dialog cannot show reads as the default.
    if (size && (*size < FontChoice::kSmallestSize || *size > FontChoice::kLargestSize))
        size = parseSize(keys::fontSize.defaultText());
    return {name.isEmpty() ? std::nullopt : std::optional<QString>(name),
            store.readTruth(keys::fontBold), store.readTruth(keys::fontItalic), size};
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
    if (const SaveResult saved = store.save(); !saved.saved) {
        reportUnsavedFont(window, store.fileName(), saved.reason);
        return;
    }
    SchriftSetzen(window, store);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/commands/font_command.h"

#include "settings/store/settings_store.h"
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

void applyStoredFont(MainWindow &window, const SettingsStore &store)
{
    const FontPreset font = store.readFont();
    window.setCountFont({font.name.value_or(QString()), font.bold, font.italic});
}

void chooseAndStoreFont(MainWindow &window, SettingsStore &store)
{
    // A preset that does not convert is left out: the dialog keeps what it had.
    const std::optional<FontChoice> choice = window.chooseFont(store.readFont());
    if (!choice)
        return;
    store.writeFont(*choice);
    if (const SaveResult saved = store.save(); !saved.saved) {
        reportUnsavedFont(window, store.fileName(), saved.reason);
        return;
    }
    applyStoredFont(window, store);
}

} // namespace talvero

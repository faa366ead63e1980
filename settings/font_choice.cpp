#include "settings/font_choice.h"

#include "settings/settings_store.h"
#include "ui/main_window.h"

namespace talvero {

namespace {

void applyStoredFont(CountLabel *label, const SettingsStore &store)
{
    const QString name = store.read(keys::fontName).trimmed();
    if (!name.isEmpty())
        label->setFontName(name);
    if (const auto bold = store.readTruth(keys::fontBold))
        label->setFontBold(*bold);
    if (const auto italic = store.readTruth(keys::fontItalic))
        label->setFontItalic(*italic);
}

} // namespace

void SchriftSetzen(MainWindow &window, const SettingsStore &store)
{
    WindowControls &ui = window.ui;
    for (std::size_t k = 0; k < ui.txt_Gewuerfelt.size(); ++k) {
        applyStoredFont(ui.txt_Gewuerfelt[k], store);
        applyStoredFont(ui.txt_Gewuerfelt2[k], store);
    }
    for (std::size_t k = 0; k < ui.txt_Gewuerfelt_2er.size(); ++k) {
        applyStoredFont(ui.txt_Gewuerfelt_2er[k], store);
        applyStoredFont(ui.txt_Gewuerfelt_2er2[k], store);
    }
}

void cmd_Schrift_Click(MainWindow &window, SettingsStore &store)
{
    FontDialogControl &dialog = *window.ui.CommonDialog;
    dialog.setCancelError(true);
    dialog.setFlags(FontDialogControl::ScreenFonts | FontDialogControl::PrinterFonts);
    // A preset that does not convert is skipped: the dialog keeps what it had.
    const QString name = store.read(keys::fontName).trimmed();
    if (!name.isEmpty())
        dialog.setFontName(name);
    if (const auto bold = store.readTruth(keys::fontBold))
        dialog.setFontBold(*bold);
    if (const auto italic = store.readTruth(keys::fontItalic))
        dialog.setFontItalic(*italic);
    if (const auto size = store.readSize(keys::fontSize))
        dialog.setFontSize(*size);

    if (!dialog.showFont())
        return;
    store.write(keys::fontName, dialog.fontName());
    store.write(keys::fontBold, truthText(dialog.fontBold()));
    store.write(keys::fontItalic, truthText(dialog.fontItalic()));
    store.write(keys::fontSize, sizeText(dialog.fontSize()));
    if (!store.save())
        return;
    SchriftSetzen(window, store);
}

} // namespace talvero

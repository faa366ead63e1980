#include "ui/controls/font_dialog_control.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>

namespace talvero {

std::optional<FontChoice> QtFontPicker::pick(const FontChoice &preset, int, QWidget *parent)
{
    QFont initial(preset.name);
    initial.setBold(preset.bold);
    initial.setItalic(preset.italic);
    if (preset.size > 0)
        initial.setPointSizeF(static_cast<qreal>(preset.size));
    // Open on the face that is really shown: a design face like "MS Sans Serif" is drawn in a
    // substitute. And name its style as the face does: the dialog looks the style up by name,
    // and a translated "Fett" would not find the face's own "Bold".
    const QFontInfo shown(initial);
    initial.setFamily(shown.family());
    if (QFontDatabase::styles(shown.family()).contains(shown.styleName()))
        initial.setStyleName(shown.styleName());

    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The effects box holds the underline and strike-out check boxes; offer neither.
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
        if (!group->findChildren<QCheckBox *>().isEmpty())
            group->hide();
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return FontChoice{chosen.family(), chosen.bold(), chosen.italic(),
                      static_cast<float>(chosen.pointSizeF())};
}

FontDialogControl::FontDialogControl(QWidget *owner)
    : QObject(owner)
    , owner_(owner)
    , picker_(std::make_unique<QtFontPicker>())
{}

FontDialogControl::~FontDialogControl() = default;

bool FontDialogControl::showFont()
{
    std::optional<FontChoice> choice = picker_->pick(font_, flags_, owner_);
    if (!choice)
        return false;
    font_ = *choice;
    return true;
}

void FontDialogControl::setPicker(std::unique_ptr<FontPicker> picker)
{
    if (picker)
        picker_ = std::move(picker);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/font_dialog_control.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>

namespace talvero {

FontDialogControl::FontDialogControl(QWidget *owner)
    : QObject(owner)
    , owner_(owner)
{}

std::optional<FontChoice> FontDialogControl::showFont(const FontPreset &preset)
{
    font_.name = preset.name.value_or(font_.name);
    font_.bold = preset.bold.value_or(font_.bold);
    font_.italic = preset.italic.value_or(font_.italic);
    font_.size = preset.size.value_or(font_.size);

    QFont initial(font_.name);
    initial.setBold(font_.bold);
    initial.setItalic(font_.italic);
    if (font_.size > 0)
        initial.setPointSizeF(static_cast<qreal>(font_.size));
    // Open on the face that is really shown: a design face like "MS Sans Serif" is drawn in a
    // substitute. And name its style as the face does: the dialog looks the style up by name,
    // and a translated "Fett" would not find the face's own "Bold".
    const QFontInfo shown(initial);
    initial.setFamily(shown.family());
    if (QFontDatabase::styles(shown.family()).contains(shown.styleName()))
        initial.setStyleName(shown.styleName());

    QFontDialog dialog(initial, owner_);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The effects box holds the underline and strike-out check boxes; offer neither.
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
        if (!group->findChildren<QCheckBox *>().isEmpty())
            group->hide();
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The choice is not kept: it becomes the next preset only once it is stored.
    const QFont chosen = dialog.selectedFont();
    return FontChoice{chosen.family(), chosen.bold(), chosen.italic(),
                      static_cast<float>(chosen.pointSizeF())};
}

} // namespace talvero

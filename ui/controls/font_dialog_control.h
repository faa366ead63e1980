// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "choices/font_choice.h"

#include <QObject>
#include <optional>

class QWidget;

namespace talvero {

// The window's invisible font dialog provider. Like a dialog control on a form it keeps the font
// it was last preset with between two uses, and shows Qt's font dialog on it, without the
// effects (underline, strike-out) the window has no use for.
class FontDialogControl final : public QObject
{
    Q_OBJECT

public:
    explicit FontDialogControl(QWidget *owner);

    // Shows the dialog, modal to the owner, on the preset over what it held. The choice when the
    // user confirms, nothing when the user cancels.
    std::optional<FontChoice> showFont(const FontPreset &preset);

private:
    QWidget *owner_;
    FontChoice font_;
};

} // namespace talvero

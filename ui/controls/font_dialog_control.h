// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QWidget;

namespace talvero {

// A font as the font dialog offers it: face, bold, italic and size in points.
struct FontChoice
{
    // The sizes the dialog can show and take, in points.
    static constexpr float kSmallestSize = 1;
    static constexpr float kLargestSize = 512;

    QString name;
    bool bold = false;
    bool italic = false;
    float size = 8.0f;
};

// What the font dialog is to open on; a value left out keeps what the dialog holds.
struct FontPreset
{
    std::optional<QString> name;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<float> size;
};

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

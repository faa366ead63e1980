// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The fixed colours of the window's design, in one place.
namespace talvero::colors {

inline constexpr QColor countText{0x00, 0x00, 0x00};
inline constexpr QColor countBack{0xFF, 0xFF, 0xFF};
inline constexpr QColor countHoverText{0x00, 0x00, 0xC0};
inline constexpr QColor countDisabledText{0x80, 0x80, 0x80};
inline constexpr QColor countBorder{0x00, 0x00, 0x00};
inline constexpr QColor inactiveBack{0xE0, 0xE0, 0xE0};

struct ButtonColors
{
    QColor back;
    QColor pressed;
    QColor disabled;
    QColor text;
    QColor textHover;

    bool operator==(const ButtonColors &) const = default;
};

// "Würfeln"
inline constexpr ButtonColors rollButton{QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x00, 0x80),
                                         QColor(0xF5, 0xF4, 0xEA), QColor(0xFF, 0xFF, 0xFF),
                                         QColor(0xE0, 0xE0, 0xE0)};
// The follow-up buttons: like "Würfeln", but a darker grey when disabled.
inline constexpr ButtonColors followUpButton{QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x00, 0x80),
                                             QColor(0xE0, 0xE0, 0xE0), QColor(0xFF, 0xFF, 0xFF),
                                             QColor(0xE0, 0xE0, 0xE0)};
// Resets, "Schriftart", "Schließen".
inline constexpr ButtonColors lightButton{QColor(0xF7, 0xF7, 0xEF), QColor(0xE0, 0xE0, 0xD7),
                                          QColor(0xF5, 0xF4, 0xEA), QColor(0x00, 0x00, 0x00),
                                          QColor(0x00, 0x00, 0x00)};

} // namespace talvero::colors

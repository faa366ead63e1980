// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace talvero {

// The face the window's labels are designed in. Where it is missing a face of similar metrics
// stands in (ui/controls/fonts.h).
inline constexpr char16_t kDesignFace[] = u"MS Sans Serif";

// A font as the font dialog offers it: face, bold, italic and size in points.
struct FontChoice
{
    // The sizes the dialog can show and take, and the one it offers before any other.
    static constexpr float kSmallestSize = 1;
    static constexpr float kLargestSize = 512;
    static constexpr float kFirstSize = 8;

    QString name;
    bool bold = false;
    bool italic = false;
    float size = kFirstSize;
};

// What the font dialog is to open on; a value left out keeps what the dialog holds.
struct FontPreset
{
    std::optional<QString> name;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<float> size;
};

} // namespace talvero

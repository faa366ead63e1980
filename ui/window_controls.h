// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's controls. Only the window's own sources include this.

#include "ui/controls/command_button.h"
#include "ui/controls/count_label.h"
#include "ui/controls/font_dialog_control.h"
#include "ui/controls/frame_box.h"
#include "ui/controls/image_control.h"
#include "ui/controls/plain_label.h"
#include "ui/controls/tab_control.h"
#include "ui/controls/twips_geometry.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <array>
#include <vector>

namespace talvero {

using OptionButton = TwipsPlaced<QRadioButton>;
using CheckBox = TwipsPlaced<QCheckBox>;
using ScrollBar = TwipsPlaced<QScrollBar>;

// Every control of the main window, under its design name; arrays are indexed as designed.
// The window creates them once and owns them through Qt's parent tree.
struct WindowControls
{
    TabControl *SSTab = nullptr;

    // Page "TREFFERWÜRFE "
    CommandButton *cmd_Wuerfel1 = nullptr;
    std::array<OptionButton *, 2> OptionWurf{};
    PlainLabel *Label_Augen = nullptr;
    PlainLabel *txt_AnzahlWuerfel = nullptr;
    ScrollBar *HScroll = nullptr;
    PlainLabel *Wuerfelaugen = nullptr;
    ScrollBar *HScroll_Augen = nullptr;

    // Page "SCHADENSWÜRFE "
    FrameBox *Frame1 = nullptr;
    std::array<OptionButton *, 2> OptionWurf2{};
    std::array<CommandButton *, 9> cmd_Wuerfel2{};

    // Both pages: index 0 on the hit page, 1 on the damage page.
    std::array<FrameBox *, 4> Frame{}; // 0, 1 face rows; 2, 3 at-least rows
    std::array<CommandButton *, 2> cmd_Reset{};
    std::array<CommandButton *, 2> cmd_ResetWurf{};
    std::array<PlainLabel *, 2> txt_Wurfinfo{};
    // The design's `Label` array has only the elements 12, 24 and 25.
    PlainLabel *Label12 = nullptr; // "Weiterwürfel mit..."
    PlainLabel *Label24 = nullptr; // "(Schadenswurf)"
    PlainLabel *Label25 = nullptr; // "Anzahl der Seiten pro Würfel"

    std::array<CountLabel *, 10> txt_Gewuerfelt{};
    std::array<CountLabel *, 10> txt_Gewuerfelt2{};
    std::array<CountLabel *, 9> txt_Gewuerfelt_2er{};
    std::array<CountLabel *, 9> txt_Gewuerfelt_2er2{};
    std::array<PlainLabel *, 20> LabelWurf{};      // 10..19 in Frame(0), 0..9 in Frame(1)
    std::array<PlainLabel *, 18> LabelWurfUnten{}; // 9..17 in Frame(2), 0..8 in Frame(3)

    // Along the bottom of the window.
    ImageControl *Logo = nullptr;
    CheckBox *Check_90Grad = nullptr;
    CommandButton *cmd_Schrift = nullptr;
    CommandButton *cmd_Ende = nullptr;
    FontDialogControl *CommonDialog = nullptr;

    // The 38 count labels, face rows first.
    std::vector<CountLabel *> countLabels() const
    {
        std::vector<CountLabel *> labels(txt_Gewuerfelt.begin(), txt_Gewuerfelt.end());
        labels.insert(labels.end(), txt_Gewuerfelt2.begin(), txt_Gewuerfelt2.end());
        labels.insert(labels.end(), txt_Gewuerfelt_2er.begin(), txt_Gewuerfelt_2er.end());
        labels.insert(labels.end(), txt_Gewuerfelt_2er2.begin(), txt_Gewuerfelt_2er2.end());
        return labels;
    }
};

} // namespace talvero

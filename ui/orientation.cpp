// SPDX-License-Identifier: GPL-3.0-or-later
// The "90°" box: turns the captions of all count labels, and back.

#include "ui/main_window.h"
#include "ui/window_controls.h"

namespace talvero {

void MainWindow::Check_90Grad_Click()
{
    // The box is read afresh for every label, in the design's order of rows.
    auto turned = [this] {
        return ui_->Check_90Grad->isChecked();
    };
    for (std::size_t i = 0; i < ui_->txt_Gewuerfelt.size(); ++i) {
        ui_->txt_Gewuerfelt[i]->setVertical(turned());
        ui_->txt_Gewuerfelt2[i]->setVertical(turned());
    }
    for (std::size_t i = 0; i < ui_->txt_Gewuerfelt_2er.size(); ++i) {
        ui_->txt_Gewuerfelt_2er[i]->setVertical(turned());
        ui_->txt_Gewuerfelt_2er2[i]->setVertical(turned());
    }
    // The font dialog offers no turned faces; it waits until the captions stand upright.
    ui_->cmd_Schrift->setEnabled(!turned());
}

} // namespace talvero

// The "90°" box: turns the captions of all count labels, and back.

#include "ui/main_window.h"

namespace talvero {

void MainWindow::Check_90Grad_Click()
{
    // The box's value as a number: 0 unticked, 1 ticked, read afresh for every label.
    auto value = [this] {
        return ui.Check_90Grad->isChecked() ? 1 : 0;
    };
    for (std::size_t i = 0; i < ui.txt_Gewuerfelt.size(); ++i) {
        ui.txt_Gewuerfelt[i]->setVertical(value());
        ui.txt_Gewuerfelt2[i]->setVertical(value());
    }
    for (std::size_t i = 0; i < ui.txt_Gewuerfelt_2er.size(); ++i) {
        ui.txt_Gewuerfelt_2er[i]->setVertical(value());
        ui.txt_Gewuerfelt_2er2[i]->setVertical(value());
    }
    // The font dialog offers no turned faces; it waits until the captions stand upright.
    ui.cmd_Schrift->setEnabled(value() == 0);
}

} // namespace talvero

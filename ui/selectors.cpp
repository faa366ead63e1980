// SPDX-License-Identifier: GPL-3.0-or-later
// The two scroll bars that choose the number of dice and of sides, and the labels that follow.

#include "ui/controls/control_colors.h"
#include "ui/main_window.h"
#include "ui/window_controls.h"

namespace talvero {

namespace {

// An active count label is white, the colour it is created with: its text is always black, so
// a dark desktop theme's window background would leave the count unreadable.
void makeActive(CountLabel *label)
{
    label->setBackColor(colors::countBack);
    label->setEnabled(true);
}

void makeInactive(CountLabel *label)
{
    label->setBackColor(colors::inactiveBack);
    label->setEnabled(false);
}

} // namespace

// The scroll bars report the thumb's position while it is dragged; it equals the value
// otherwise. Both handlers of a scroll bar therefore read the same thing.
void MainWindow::HScroll_Change()
{
    ui_->txt_AnzahlWuerfel->setCaption(QString::number(ui_->HScroll->sliderPosition()));
}

// Marks which result labels and follow-up buttons make sense for the number of sides.
void MainWindow::HScroll_Augen_Change()
{
    const int sides = ui_->HScroll_Augen->sliderPosition();
    ui_->Wuerfelaugen->setCaption(QString::number(sides));
    ui_->Label_Augen->setCaption(QStringLiteral("Würfelanzahl mit %1 Seiten").arg(sides));

    // First everything active, then the surplus inactive: the outcome depends on sides alone.
    const int faces = static_cast<int>(ui_->txt_Gewuerfelt.size());
    for (int k = 0; k < faces; ++k) {
        makeActive(ui_->txt_Gewuerfelt[static_cast<std::size_t>(k)]);
        makeActive(ui_->txt_Gewuerfelt2[static_cast<std::size_t>(k)]);
    }
    for (int k = faces - 1; k >= sides; --k) {
        makeInactive(ui_->txt_Gewuerfelt[static_cast<std::size_t>(k)]);
        makeInactive(ui_->txt_Gewuerfelt2[static_cast<std::size_t>(k)]);
    }

    const int thresholds = static_cast<int>(ui_->txt_Gewuerfelt_2er.size());
    for (int k = 0; k < thresholds; ++k) {
        const auto u = static_cast<std::size_t>(k);
        makeActive(ui_->txt_Gewuerfelt_2er[u]);
        makeActive(ui_->txt_Gewuerfelt_2er2[u]);
        ui_->cmd_Wuerfel2[u]->setEnabled(true);
    }
    for (int j = thresholds; j >= sides; --j) {
        const auto u = static_cast<std::size_t>(j - 1);
        makeInactive(ui_->txt_Gewuerfelt_2er[u]);
        makeInactive(ui_->txt_Gewuerfelt_2er2[u]);
        ui_->cmd_Wuerfel2[u]->setEnabled(false);
    }
}

} // namespace talvero

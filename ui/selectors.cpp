// The two scroll bars that choose the number of dice and of sides, and the labels that follow.

#include "ui/controls/control_colors.h"
#include "ui/main_window.h"

namespace talvero {

namespace {

// The background of an active count label: what the toolkit paints behind text and lists
// (Qt's Base role, white in most themes), the role Windows calls the window background.
QColor activeBack(const QWidget *label)
{
    return label->palette().color(QPalette::Active, QPalette::Base);
}

void makeActive(CountLabel *label)
{
    label->setBackColor(activeBack(label));
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
    ui.txt_AnzahlWuerfel->setCaption(QString::number(ui.HScroll->sliderPosition()));
}

void MainWindow::HScroll_Scroll()
{
    HScroll_Change();
}

void MainWindow::HScroll_Augen_Change()
{
    sidesUpdate();
}

void MainWindow::HScroll_Augen_Scroll()
{
    sidesUpdate();
}

void MainWindow::sidesUpdate()
{
    const int sides = ui.HScroll_Augen->sliderPosition();
    ui.Wuerfelaugen->setCaption(QString::number(sides));
    ui.Label_Augen->setCaption(QStringLiteral("Würfelanzahl mit %1 Seiten").arg(sides));

    // First everything active, then the surplus inactive: the outcome depends on sides alone.
    const int faces = static_cast<int>(ui.txt_Gewuerfelt.size());
    for (int k = 0; k < faces; ++k) {
        makeActive(ui.txt_Gewuerfelt[static_cast<std::size_t>(k)]);
        makeActive(ui.txt_Gewuerfelt2[static_cast<std::size_t>(k)]);
    }
    for (int k = faces - 1; k >= sides; --k) {
        makeInactive(ui.txt_Gewuerfelt[static_cast<std::size_t>(k)]);
        makeInactive(ui.txt_Gewuerfelt2[static_cast<std::size_t>(k)]);
    }

    const int thresholds = static_cast<int>(ui.txt_Gewuerfelt_2er.size());
    for (int k = 0; k < thresholds; ++k) {
        const auto u = static_cast<std::size_t>(k);
        makeActive(ui.txt_Gewuerfelt_2er[u]);
        makeActive(ui.txt_Gewuerfelt_2er2[u]);
        ui.cmd_Wuerfel2[u]->setEnabled(true);
    }
    for (int j = thresholds; j >= sides; --j) {
        const auto u = static_cast<std::size_t>(j - 1);
        makeInactive(ui.txt_Gewuerfelt_2er[u]);
        makeInactive(ui.txt_Gewuerfelt_2er2[u]);
        ui.cmd_Wuerfel2[u]->setEnabled(false);
    }
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as designed: kind, name, container, caption, place and look.

#include "ui/controls/fonts.h"
#include "ui/controls/pictures.h"
#include "ui/main_window.h"
#include "ui/window_controls.h"
#include "ui/window_design.h"

#include <QTabBar>

namespace talvero {

namespace {

QString arrayName(const QString &name, int index)
{
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

template <class Control>
Control *place(Control *control, const QString &name, const TwipsRect &rect)
{
    control->setObjectName(name);
    control->setTwipsRect(rect);
    return control;
}

CommandButton *makeButton(QWidget *parent, const QString &name, const QString &caption,
                          const TwipsRect &rect, const colors::ButtonColors &colors,
                          CommandButton::Face face, const QCursor &pointer)
{
    auto *button = place(new CommandButton(parent), name, rect);
    button->setText(caption);
    button->setFont(buttonFont());
    button->setColors(colors);
    button->setFace(face);
    button->setCursor(pointer);
    return button;
}

CommandButton *makeSymbolButton(QWidget *parent, const QString &name, CommandButton::Symbol symbol,
                                const QString &accessibleName, const TwipsRect &rect,
                                const QCursor &pointer)
{
    auto *button = makeButton(parent, name, QString(), rect, colors::lightButton,
                              CommandButton::Face::Symbol, pointer);
    button->setSymbol(symbol);
    button->setAccessibleName(accessibleName);
    return button;
}

PlainLabel *makeLabel(QWidget *parent, const QString &name, PlainLabel::Variant variant,
                      const QString &caption, const TwipsRect &rect)
{
    auto *label = place(new PlainLabel(variant, parent), name, rect);
    label->setCaption(caption);
    return label;
}

OptionButton *makeOption(QWidget *parent, const QString &name, const QString &caption,
                         const TwipsRect &rect, bool selected)
{
    auto *option = place(new OptionButton(caption, parent), name, rect);
    option->setChecked(selected);
    return option;
}

ScrollBar *makeScrollBar(QWidget *parent, const QString &name, const QString &accessibleName,
                         const TwipsRect &rect, int minimum, int maximum, int value)
{
    auto *bar = place(new ScrollBar(Qt::Horizontal, parent), name, rect);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(value);
    // While the thumb is dragged the position is reported through sliderMoved; the value
    // changes when it is let go, as with an arrow or track click.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setAccessibleName(accessibleName);
    // A right-click opens the window's menu here too, not Qt's menu of scroll positions.
    bar->setContextMenuPolicy(Qt::NoContextMenu);
    return bar;
}

FrameBox *makeFrame(QWidget *parent, const QString &name, const QString &caption,
                    const TwipsRect &rect)
{
    auto *frame = place(new FrameBox(parent), name, rect);
    frame->setCaption(caption);
    return frame;
}

CountLabel *makeCountLabel(QWidget *parent, const QString &name, const QString &heading,
                           const TwipsRect &rect)
{
    auto *label = place(new CountLabel(parent), name, rect);
    label->setLabelFont(designFont());
    label->setHeading(heading);
    return label;
}

// Headings above the count labels: left and width of column j.
struct Column
{
    float left;
    float width;
};
constexpr Column kFaceHeadings[10] = {{300, 225},  {1050, 225}, {1710, 225}, {2460, 225},
                                      {3090, 225}, {3780, 225}, {4470, 225}, {5190, 225},
                                      {5850, 225}, {6480, 315}};
constexpr Column kThresholdHeadings[9] = {{360, 180},  {1020, 180}, {1740, 180},
                                          {2400, 180}, {3090, 180}, {3780, 180},
                                          {4440, 180}, {5130, 180}, {5760, 270}};

} // namespace

void MainWindow::createControls()
{
    ui_->SSTab = place(new TabControl(this), QStringLiteral("SSTab"), {30, 90, 9885, 3465});
    createHitPage(ui_->SSTab->addPage(QStringLiteral("TREFFERWÜRFE ")));
    createDamagePage(ui_->SSTab->addPage(QStringLiteral("SCHADENSWÜRFE ")));
    ui_->SSTab->setCurrentPage(0);
    createResultRows();
    createBottomControls();
}

void MainWindow::createHitPage(QWidget *page)
{
    using V = PlainLabel::Variant;
    const QCursor hand = pointingHandCursor();
    ui_->cmd_Wuerfel1 =
        makeButton(page, QStringLiteral("cmd_Würfel1"), QStringLiteral("Würfeln"),
                   {180, 450, 1905, 945}, colors::rollButton, CommandButton::Face::Raised, hand);
    ui_->OptionWurf[0] = makeOption(page, arrayName(QStringLiteral("OptionWurf"), 0),
                                    QStringLiteral("Addition"), {2250, 660, 1095, 225}, false);
    ui_->OptionWurf[1] = makeOption(page, arrayName(QStringLiteral("OptionWurf"), 1),
                                    QStringLiteral("neue Zählung"), {3390, 660, 1485, 225}, true);
    ui_->Frame[0] = makeFrame(page, arrayName(QStringLiteral("Frame"), 0),
                              QStringLiteral("Wurfergebnis"), {2220, 1050, 7065, 915});
    ui_->cmd_Reset[0] = makeSymbolButton(
        page, arrayName(QStringLiteral("cmd_Reset"), 0), CommandButton::Symbol::ClearCounts,
        QStringLiteral("Zählung löschen"), {9300, 1140, 405, 345}, hand);
    ui_->Label_Augen =
        makeLabel(page, QStringLiteral("Label_Augen"), V::TextLine,
                  QStringLiteral("Würfelanzahl mit 6 Seiten "), {210, 1470, 1845, 195});
    ui_->txt_AnzahlWuerfel = makeLabel(page, QStringLiteral("txt_AnzahlWürfel"), V::BoxedNumber,
                                       QStringLiteral("60"), {300, 1740, 1125, 285});
    ui_->HScroll = makeScrollBar(page, QStringLiteral("HScroll"), QStringLiteral("Würfelanzahl"),
                                 {270, 2070, 1125, 255}, WindowChoices::kFewestDice,
                                 WindowChoices::kMostDice, WindowChoices().dice);
    ui_->Frame[2] = makeFrame(page, arrayName(QStringLiteral("Frame"), 2),
                              QStringLiteral("Sortierung"), {2970, 2130, 6345, 885});
    ui_->cmd_ResetWurf[0] = makeSymbolButton(
        page, arrayName(QStringLiteral("cmd_ResetWurf"), 0), CommandButton::Symbol::ResetCounter,
        QStringLiteral("Wurfzähler zurücksetzen"), {180, 2430, 345, 345}, hand);
    ui_->txt_Wurfinfo[0] = makeLabel(page, arrayName(QStringLiteral("txt_Wurfinfo"), 0),
                                     V::TextLine, QStringLiteral("Wurf 0"), {600, 2520, 480, 195});
    ui_->Label25 =
        makeLabel(page, arrayName(QStringLiteral("Label"), 25), V::TextLine,
                  QStringLiteral("Anzahl der Seiten pro Würfel"), {120, 2880, 2025, 195});
    ui_->Wuerfelaugen = makeLabel(page, QStringLiteral("Würfelaugen"), V::BoxedNumber,
                                  QStringLiteral("6"), {120, 3090, 615, 285});
    ui_->HScroll_Augen =
        makeScrollBar(page, QStringLiteral("HScroll_Augen"), QStringLiteral("Anzahl der Seiten"),
                      {780, 3120, 1365, 255}, WindowChoices::kFewestSides,
                      WindowChoices::kMostSides, WindowChoices().sides);
}

void MainWindow::createDamagePage(QWidget *page)
{
    using V = PlainLabel::Variant;
    const QCursor hand = pointingHandCursor();
    ui_->Frame1 = makeFrame(page, QStringLiteral("Frame1"), QString(), {2220, 600, 2955, 375});
    ui_->Frame1->setBorder(false);
    ui_->OptionWurf2[0] = makeOption(ui_->Frame1, arrayName(QStringLiteral("OptionWurf2"), 0),
                                     QStringLiteral("Addition"), {30, 60, 945, 225}, false);
    ui_->OptionWurf2[1] = makeOption(ui_->Frame1, arrayName(QStringLiteral("OptionWurf2"), 1),
                                     QStringLiteral("neue Zählung"), {1170, 60, 1485, 225}, true);
    ui_->Label12 = makeLabel(page, arrayName(QStringLiteral("Label"), 12), V::TextLine,
                             QStringLiteral("Weiterwürfel mit..."), {270, 870, 1560, 195});
    QFont bold = designFont();
    bold.setBold(true);
    ui_->Label12->setFont(bold);
    ui_->Frame[1] = makeFrame(page, arrayName(QStringLiteral("Frame"), 1),
                              QStringLiteral("Wurfergebnis"), {2220, 1050, 7065, 915});
    ui_->Label24 = makeLabel(page, arrayName(QStringLiteral("Label"), 24), V::TextLine,
                             QStringLiteral("(Schadenswurf)"), {240, 1110, 1110, 195});
    ui_->cmd_Reset[1] = makeSymbolButton(
        page, arrayName(QStringLiteral("cmd_Reset"), 1), CommandButton::Symbol::ClearCounts,
        QStringLiteral("Zählung löschen"), {9300, 1140, 405, 345}, hand);
    constexpr float lefts[9] = {180, 570, 960, 1350, 1740, 180, 570, 960, 1350};
    for (int i = 0; i < 9; ++i) {
        const TwipsRect rect{lefts[i], i < 5 ? 1320.0f : 1710.0f, i == 8 ? 750.0f : 360.0f, 360};
        auto *button =
            makeButton(page, arrayName(QStringLiteral("cmd_Würfel2"), i), thresholdHeading(i), rect,
                       colors::followUpButton, CommandButton::Face::Raised, hand);
        // Thresholds above the designed six sides cannot be rolled.
        button->setEnabled(i < 5);
        ui_->cmd_Wuerfel2[static_cast<std::size_t>(i)] = button;
    }
    ui_->Frame[3] = makeFrame(page, arrayName(QStringLiteral("Frame"), 3),
                              QStringLiteral("Sortierung"), {2970, 2130, 6345, 885});
    ui_->cmd_ResetWurf[1] = makeSymbolButton(
        page, arrayName(QStringLiteral("cmd_ResetWurf"), 1), CommandButton::Symbol::ResetCounter,
        QStringLiteral("Wurfzähler zurücksetzen"), {180, 2160, 375, 345}, hand);
    ui_->txt_Wurfinfo[1] = makeLabel(page, arrayName(QStringLiteral("txt_Wurfinfo"), 1),
                                     V::TextLine, QStringLiteral("Wurf 0"), {600, 2250, 510, 195});
}

void MainWindow::createResultRows()
{
    using V = PlainLabel::Variant;
    for (int j = 0; j < 10; ++j) {
        const auto u = static_cast<std::size_t>(j);
        const TwipsRect rect{90.0f + 690.0f * static_cast<float>(j), 540, 675, 285};
        ui_->txt_Gewuerfelt[u] = makeCountLabel(
            ui_->Frame[0], arrayName(QStringLiteral("txt_Gewürfelt"), j), faceHeading(j), rect);
        ui_->txt_Gewuerfelt2[u] = makeCountLabel(
            ui_->Frame[1], arrayName(QStringLiteral("txt_Gewürfelt2"), j), faceHeading(j), rect);
    }
    for (int j = 0; j < 9; ++j) {
        const auto u = static_cast<std::size_t>(j);
        const TwipsRect rect{60.0f + 690.0f * static_cast<float>(j), 510, 675, 285};
        ui_->txt_Gewuerfelt_2er[u] =
            makeCountLabel(ui_->Frame[2], arrayName(QStringLiteral("txt_Gewürfelt_2er"), j),
                           thresholdHeading(j), rect);
        ui_->txt_Gewuerfelt_2er2[u] =
            makeCountLabel(ui_->Frame[3], arrayName(QStringLiteral("txt_Gewürfelt_2er2"), j),
                           thresholdHeading(j), rect);
    }
    for (int k = 0; k < 20; ++k) {
        const Column column = kFaceHeadings[k % 10];
        ui_->LabelWurf[static_cast<std::size_t>(k)] =
            makeLabel(ui_->Frame[k >= 10 ? 0 : 1], arrayName(QStringLiteral("LabelWurf"), k),
                      V::Heading, faceHeading(k % 10), {column.left, 300, column.width, 195});
    }
    for (int k = 0; k < 18; ++k) {
        const Column column = kThresholdHeadings[k % 9];
        ui_->LabelWurfUnten[static_cast<std::size_t>(k)] =
            makeLabel(ui_->Frame[k >= 9 ? 2 : 3], arrayName(QStringLiteral("LabelWurfUnten"), k),
                      V::Heading, thresholdHeading(k % 9), {column.left, 270, column.width, 195});
    }
}

void MainWindow::createBottomControls()
{
    const QCursor hand = pointingHandCursor();
    ui_->Logo = place(new ImageControl(this), QStringLiteral("Logo"), {60, 3600, 1110, 450});
    ui_->Logo->setPicture(logoPicture());
    ui_->Logo->setAccessibleName(shortTitle());
    ui_->Check_90Grad = place(new CheckBox(QStringLiteral("90°"), this),
                              QStringLiteral("Check_90Grad"), {1560, 3720, 615, 285});
    ui_->cmd_Schrift =
        makeButton(this, QStringLiteral("cmd_Schrift"), QStringLiteral("Schriftart"),
                   {7110, 3600, 1365, 420}, colors::lightButton, CommandButton::Face::Soft, hand);
    ui_->cmd_Ende =
        makeButton(this, QStringLiteral("cmd_Ende"), QStringLiteral("&Schließen"),
                   {8520, 3600, 1365, 405}, colors::lightButton, CommandButton::Face::Flat, hand);
    ui_->CommonDialog = new FontDialogControl(this);
    ui_->CommonDialog->setObjectName(QStringLiteral("CommonDialog"));
}

void MainWindow::setFocusOrder()
{
    std::vector<QWidget *> order = {ui_->cmd_Ende,      ui_->SSTab->tabBar(),  ui_->OptionWurf[1],
                                    ui_->OptionWurf[0], ui_->HScroll,          ui_->cmd_Wuerfel1,
                                    ui_->cmd_Reset[0],  ui_->cmd_ResetWurf[0], ui_->OptionWurf2[0],
                                    ui_->OptionWurf2[1]};
    for (int i = 0; i < 5; ++i)
        order.push_back(ui_->cmd_Wuerfel2[static_cast<std::size_t>(i)]);
    order.push_back(ui_->cmd_Reset[1]);
    order.push_back(ui_->cmd_ResetWurf[1]);
    for (int i = 5; i < 9; ++i)
        order.push_back(ui_->cmd_Wuerfel2[static_cast<std::size_t>(i)]);
    order.insert(order.end(), {ui_->HScroll_Augen, ui_->Check_90Grad, ui_->cmd_Schrift});
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include "engine/dice_engine.h"
#include "talvero/product.h"
#include "ui/controls/fonts.h"
#include "ui/controls/pictures.h"
#include "ui/label_rows.h"
#include "ui/page_commands.h"
#include "ui/window_controls.h"
#include "ui/window_design.h"

#include <QAction>
#include <QCloseEvent>
#include <QMessageBox>

namespace talvero {

namespace {

std::vector<CountLabel *> row(const auto &labels)
{
    return {labels.begin(), labels.end()};
}

} // namespace

// The window's labels as the engine's rows and caption targets, and the engine on them.
struct MainWindow::EngineBinding
{
    EngineBinding(const WindowControls &ui, Clock &clock, std::uint64_t startSeed)
        : face{CountLabelRow(row(ui.txt_Gewuerfelt)), CountLabelRow(row(ui.txt_Gewuerfelt2))}
        , atLeast{CountLabelRow(row(ui.txt_Gewuerfelt_2er)),
                  CountLabelRow(row(ui.txt_Gewuerfelt_2er2))}
        , frame{ControlCaption<FrameBox>(ui.Frame[0]), ControlCaption<FrameBox>(ui.Frame[1])}
        , counter{ControlCaption<PlainLabel>(ui.txt_Wurfinfo[0]),
                  ControlCaption<PlainLabel>(ui.txt_Wurfinfo[1])}
        , engine({face[0], atLeast[0], frame[0], counter[0]},
                 {face[1], atLeast[1], frame[1], counter[1]}, clock, startSeed)
    {}

    CountLabelRow face[2];
    CountLabelRow atLeast[2];
    ControlCaption<FrameBox> frame[2];
    ControlCaption<PlainLabel> counter[2];
    DiceEngine engine;
};

MainWindow::MainWindow(Clock &clock, std::uint64_t startSeed, QWidget *parent)
    : QWidget(parent)
    , ui_(std::make_unique<WindowControls>())
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(shortTitle());
    setWindowIcon(programIcon());
    setFont(designFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    createControls();
    engine_ = std::make_unique<EngineBinding>(*ui_, clock, startSeed);
    connectHandlers();
    createCommands(clock);
    setFocusOrder();
    describeFollowUps();
    const QSize designed = pixelRect(kDesignClientArea).size();
    setMinimumSize(designed);
    resize(designed);
}

MainWindow::~MainWindow() = default;

DiceEngine &MainWindow::engine() const
{
    return engine_->engine;
}

QString MainWindow::shortTitle()
{
    return QString::fromUtf16(product::kName);
}

WindowChoices MainWindow::choices() const
{
    return {ui_->HScroll->value(), ui_->HScroll_Augen->value(), ui_->OptionWurf[0]->isChecked(),
            ui_->OptionWurf2[0]->isChecked(), ui_->Check_90Grad->isChecked()};
}

void MainWindow::applyChoices(const WindowChoices &choices)
{
    ui_->SSTab->setCurrentPage(0);
    ui_->HScroll->setValue(choices.dice);
    ui_->HScroll_Augen->setValue(choices.sides);
    ui_->OptionWurf[choices.addHits ? 0 : 1]->setChecked(true);
    ui_->OptionWurf2[choices.addDamage ? 0 : 1]->setChecked(true);
    ui_->Check_90Grad->setChecked(choices.turned);
}

void MainWindow::setCountFont(const CountFont &font)
{
    for (CountLabel *label : ui_->countLabels()) {
        if (!font.name.isEmpty())
            label->setFontName(font.name);
        if (font.bold)
            label->setFontBold(*font.bold);
        if (font.italic)
            label->setFontItalic(*font.italic);
    }
}

std::optional<FontChoice> MainWindow::chooseFont(const FontPreset &preset)
{
    return ui_->CommonDialog->showFont(preset);
}

void MainWindow::connectHandlers()
{
    connect(ui_->cmd_Wuerfel1, &CommandButton::clicked, this, [this] { cmd_Wuerfel1_Click(); });
    for (int i = 0; i < DiceEngine::kThresholdCount; ++i) {
        CommandButton *button = ui_->cmd_Wuerfel2[static_cast<std::size_t>(i)];
        connect(button, &CommandButton::clicked, this, [this, i] { cmd_Wuerfel2_Click(i); });
        connect(button, &CommandButton::pointerEntered, this,
                [this, i] { cmd_Wuerfel2_ToolTip(i); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(ui_->cmd_Reset[static_cast<std::size_t>(i)], &CommandButton::clicked, this,
                [this, i] { cmd_Reset_Click(i); });
        connect(ui_->cmd_ResetWurf[static_cast<std::size_t>(i)], &CommandButton::clicked, this,
                [this, i] { cmd_ResetWurf_Click(i); });
    }
    // A scroll bar reports the thumb while it is dragged and its value when that changes; both
    // run the same change handling.
    connect(ui_->HScroll, &QScrollBar::valueChanged, this, &MainWindow::HScroll_Change);
    connect(ui_->HScroll, &QScrollBar::sliderMoved, this, &MainWindow::HScroll_Change);
    connect(ui_->HScroll_Augen, &QScrollBar::valueChanged, this, &MainWindow::HScroll_Augen_Change);
    connect(ui_->HScroll_Augen, &QScrollBar::sliderMoved, this, &MainWindow::HScroll_Augen_Change);
    // Any change of the box's value: mouse, keyboard, assistive technology or code.
    connect(ui_->Check_90Grad, &QCheckBox::toggled, this, &MainWindow::Check_90Grad_Click);
    connect(ui_->cmd_Schrift, &CommandButton::clicked, this, &MainWindow::fontRequested);
    connect(ui_->Logo, &ImageControl::clicked, this, &MainWindow::aboutRequested);

    // The same path as the window's close box.
    connect(ui_->cmd_Ende, &CommandButton::clicked, this, &MainWindow::close);
}

void MainWindow::cmd_Wuerfel1_Click()
{
    engine_->engine.hitRoll(ui_->HScroll->value(), ui_->HScroll_Augen->value(),
                            ui_->OptionWurf[1]->isChecked());
    countsChanged(Page::Hit);
}

void MainWindow::cmd_Wuerfel2_Click(int index)
{
    const auto refusal = engine_->engine.followUpRoll(index, ui_->HScroll_Augen->value(),
                                                      ui_->OptionWurf2[1]->isChecked());
    if (refusal)
        showRefusal(QString::fromStdString(*refusal));
    else
        countsChanged(Page::Damage);
}

void MainWindow::cmd_Wuerfel2_ToolTip(int index)
{
    ui_->cmd_Wuerfel2[static_cast<std::size_t>(index)]->setToolTip(
        QString::fromStdString(engine_->engine.followUpToolTip(index)));
}

void MainWindow::cmd_Reset_Click(int index)
{
    engine_->engine.clearCounts(static_cast<Page>(index));
    commands_->cleared(static_cast<Page>(index));
    countsChanged(static_cast<Page>(index));
}

void MainWindow::countsChanged(Page page)
{
    if (page == Page::Hit)
        describeFollowUps();
    for (CountLabel *label : page == Page::Hit ? ui_->txt_Gewuerfelt_2er : ui_->txt_Gewuerfelt_2er2)
        label->descriptionChanged();
    commands_->countsChanged();
}

void MainWindow::createCommands(Clock &clock)
{
    commands_ = new PageCommands(*this, *ui_, engine(), clock);
    // The logo takes no focus, so the keyboard reaches the about message through F1.
    aboutAction_ = new QAction(QStringLiteral("Über %1…").arg(shortTitle()), this);
    aboutAction_->setShortcut(QKeySequence(Qt::Key_F1));
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::aboutRequested);
    addAction(aboutAction_);
    // Shift+F10 opens the context menu, as the Menu key does.
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [this] {
        const QWidget *focus = focusWidget() ? focusWidget() : this;
        openContextMenu(focus->mapToGlobal(focus->rect().center()), nullptr);
    });
    addAction(menuKey);
    createContextMenu();
}

void MainWindow::describeFollowUps()
{
    for (int i = 0; i < DiceEngine::kThresholdCount; ++i) {
        CommandButton *button = ui_->cmd_Wuerfel2[static_cast<std::size_t>(i)];
        const QString description = QString::fromStdString(engine_->engine.followUpToolTip(i));
        if (button->accessibleDescription() != description)
            button->setAccessibleDescription(description);
    }
}

void MainWindow::cmd_ResetWurf_Click(int index)
{
    engine_->engine.resetRollCounter(static_cast<Page>(index));
}

void MainWindow::showRefusal(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, shortTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("Refusal"));
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closing();
    event->accept();
}

} // namespace talvero

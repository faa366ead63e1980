#include "ui/main_window.h"

#include "engine/dice_engine.h"
#include "engine/start_seed.h"
#include "ui/controls/accessibility.h"
#include "ui/label_rows.h"
#include "ui/controls/fonts.h"
#include "ui/controls/pictures.h"

#include <QCloseEvent>
#include <QMessageBox>

namespace talvero {

namespace {

constexpr TwipsRect kDesignClientArea{0, 0, 9930, 4110};

std::vector<CountLabel *> row(const auto &labels)
{
    return {labels.begin(), labels.end()};
}

} // namespace

// The window's labels as the engine's rows and caption targets, and the engine on them.
struct MainWindow::EngineBinding
{
    explicit EngineBinding(const WindowControls &ui)
        : face{CountLabelRow(row(ui.txt_Gewuerfelt)), CountLabelRow(row(ui.txt_Gewuerfelt2))}
        , atLeast{CountLabelRow(row(ui.txt_Gewuerfelt_2er)),
                  CountLabelRow(row(ui.txt_Gewuerfelt_2er2))}
        , frame{ControlCaption<FrameBox>(ui.Frame[0]), ControlCaption<FrameBox>(ui.Frame[1])}
        , counter{ControlCaption<PlainLabel>(ui.txt_Wurfinfo[0]),
                  ControlCaption<PlainLabel>(ui.txt_Wurfinfo[1])}
        , engine({face[0], atLeast[0], frame[0], counter[0]},
                 {face[1], atLeast[1], frame[1], counter[1]}, clock, startSeed())
    {}

    CountLabelRow face[2];
    CountLabelRow atLeast[2];
    ControlCaption<FrameBox> frame[2];
    ControlCaption<PlainLabel> counter[2];
    SystemClock clock;
    DiceEngine engine;
};

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    installFontSubstitutes();
    installAccessibility();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Talvero"));
    setWindowIcon(programIcon());
    setFont(designFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    createControls();
    bindEngine();
    connectHandlers();
    setFocusOrder();
    const QSize designed = pixelRect(kDesignClientArea).size();
    setMinimumSize(designed);
    resize(designed);
}

MainWindow::~MainWindow() = default;

QString MainWindow::shortTitle()
{
    return QStringLiteral("Talvero");
}

DiceEngine &MainWindow::engine()
{
    return binding_->engine;
}

void MainWindow::bindEngine()
{
    binding_ = std::make_unique<EngineBinding>(ui);
}

void MainWindow::connectHandlers()
{
    connect(ui.cmd_Wuerfel1, &CommandButton::clicked, this, [this] { cmd_Wuerfel1_Click(); });
    for (int i = 0; i < 9; ++i) {
        CommandButton *button = ui.cmd_Wuerfel2[static_cast<std::size_t>(i)];
        connect(button, &CommandButton::clicked, this, [this, i] { cmd_Wuerfel2_Click(i); });
        connect(button, &CommandButton::pointerEntered, this,
                [this, i] { cmd_Wuerfel2_ToolTip(i); });
    }
    connect(ui.HScroll, &QScrollBar::valueChanged, this, [this] { HScroll_Change(); });
    connect(ui.HScroll, &QScrollBar::sliderMoved, this, [this] { HScroll_Scroll(); });
    connect(ui.HScroll_Augen, &QScrollBar::valueChanged, this, [this] { HScroll_Augen_Change(); });
    connect(ui.HScroll_Augen, &QScrollBar::sliderMoved, this, [this] { HScroll_Augen_Scroll(); });
    // Any change of the box's value: mouse, keyboard, assistive technology or code.
    connect(ui.Check_90Grad, &QCheckBox::stateChanged, this, [this] { Check_90Grad_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(ui.cmd_Reset[static_cast<std::size_t>(i)], &CommandButton::clicked, this,
                [this, i] { cmd_Reset_Click(i); });
        connect(ui.cmd_ResetWurf[static_cast<std::size_t>(i)], &CommandButton::clicked, this,
                [this, i] { cmd_ResetWurf_Click(i); });
    }
}

void MainWindow::cmd_Wuerfel1_Click()
{
    engine().hitRoll(ui.HScroll->value(), ui.HScroll_Augen->value(), ui.OptionWurf[1]->isChecked());
}

void MainWindow::cmd_Wuerfel2_Click(int index)
{
    const auto refusal =
        engine().followUpRoll(index, ui.HScroll_Augen->value(), ui.OptionWurf2[1]->isChecked());
    if (refusal)
        showRefusal(QString::fromStdString(*refusal));
}

void MainWindow::cmd_Wuerfel2_ToolTip(int index)
{
    ui.cmd_Wuerfel2[static_cast<std::size_t>(index)]->setToolTip(
        QString::fromStdString(engine().followUpToolTip(index)));
}

void MainWindow::cmd_Reset_Click(int index)
{
    engine().resetCounts(static_cast<Tally>(index));
}

void MainWindow::cmd_ResetWurf_Click(int index)
{
    engine().resetRollCounter(static_cast<Tally>(index));
}

void MainWindow::showRefusal(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, shortTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("Refusal"));
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT unloading();
    event->accept();
}

} // namespace talvero

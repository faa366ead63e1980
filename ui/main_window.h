#pragma once

// Talvero's one window. How the pieces meet:
//   ui/       this window, its controls (WindowControls) and their handlers: a handler reads its
//             controls, calls the dice engine, and the engine writes captions back through
//             CountLabelRow and ControlCaption.
//   engine/   DiceEngine: the rolls and resets, on rows of captions, without Qt.
//   settings/ the settings store; at start-up and on `unloading` it sets and reads the
//             controls as a user would, and it runs the font, about and close commands.

#include "ui/window_controls.h"

#include <QWidget>
#include <memory>

namespace talvero {

class DiceEngine;

class MainWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Caption of message boxes that bring none of their own.
    static QString shortTitle();

    WindowControls ui;

    DiceEngine &engine();

    // Handlers of the roll and reset buttons.
    void cmd_Wuerfel1_Click();
    void cmd_Wuerfel2_Click(int index);
    void cmd_Wuerfel2_ToolTip(int index);
    void cmd_Reset_Click(int index);
    void cmd_ResetWurf_Click(int index);

    // The selectors: number of dice and of sides, while dragged and when changed.
    void HScroll_Change();
    void HScroll_Scroll();
    void HScroll_Augen_Change();
    void HScroll_Augen_Scroll();
    // Marks which result labels and follow-up buttons make sense for the number of sides.
    void sidesUpdate();

    // Fits the frames, count labels and bottom controls to the window's size.
    void layoutPass();
    // Turns the count labels' captions by 90 degrees while "90°" is ticked.
    void Check_90Grad_Click();

    // The window's outer size in twips. Window managers draw frames of their own thickness (and
    // offscreen there is none), so the designed frame allowance stands in for it: the designed
    // client area is exactly the designed outer size.
    float outerWidth() const;
    float outerHeight() const;
    void setOuterWidth(float twips);
    void setOuterHeight(float twips);

Q_SIGNALS:
    // The window is closing, by any path; the settings are saved on this.
    void unloading();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createHitPage(QWidget *page);
    void createDamagePage(QWidget *page);
    void createResultRows();
    void createBottomControls();
    void connectHandlers();
    void setFocusOrder();
    void bindEngine();
    void showRefusal(const QString &text);

    struct EngineBinding;
    std::unique_ptr<EngineBinding> binding_;
    bool shownOnce_ = false;
};

} // namespace talvero

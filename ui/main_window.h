// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Talvero's one window. How the pieces meet:
//   ui/controls/  the control kinds the window is made of: count label, command button, frames,
//                 tab control, plain labels, the font dialog, with twips geometry and pictures.
//   ui/           this window. Its controls are its own (WindowControls, in window_controls.h);
//                 a handler reads them and calls the dice engine, which writes its captions back
//                 through the label rows. The layout pass, the selectors and the 90° turn too.
//   engine/       DiceEngine: the rolls and resets, on rows of captions, without Qt.
//   settings/     the settings store. It talks to the window only through the face below: it
//                 applies the stored choices and font at start-up, saves the choices on
//                 `closing`, and answers `fontRequested` and `aboutRequested`.
//   app/          one run of the program: the store, the window and the session between them.

#include "ui/controls/font_dialog_control.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace talvero {

struct WindowControls;

// The five choices the settings store keeps, and the ranges of the two selectors.
struct WindowChoices
{
    static constexpr int kFewestDice = 1;
    static constexpr int kMostDice = 200;
    static constexpr int kFewestSides = 2;
    static constexpr int kMostSides = 10;

    int dice = 60;
    int sides = 6;
    bool addHits = false;   // "Addition" on the hit page, else "neue Zählung"
    bool addDamage = false; // the same on the damage page
    bool turned = false;    // "90°" ticked

    bool operator==(const WindowChoices &) const = default;
};

// The count labels' face, bold and italic; an empty name or a missing value keeps the labels' own.
struct CountFont
{
    QString name;
    std::optional<bool> bold;
    std::optional<bool> italic;
};

class MainWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Caption of message boxes that bring none of their own.
    static QString shortTitle();

    // The choices as the controls show them.
    WindowChoices choices() const;
    // Starts a run on them: the first page current, then each choice set as the user sets it, so
    // a changed selector runs its change handling and a ticked "90°" turns the count labels.
    void applyChoices(const WindowChoices &choices);

    // Face, bold and italic of all 38 count labels; their size stays the layout's.
    void setCountFont(const CountFont &font);

    // Shows the font dialog, modal, opened on the preset; the user's choice, or nothing when the
    // user cancels. The dialog keeps what it showed last for what the preset leaves out.
    std::optional<FontChoice> chooseFont(const FontPreset &preset);

Q_SIGNALS:
    void fontRequested();  // "Schriftart" clicked
    void aboutRequested(); // the logo clicked or pressed, or F1
    void closing();        // the window closes, by any path

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

    // Handlers of the roll and reset buttons.
    void cmd_Wuerfel1_Click();
    void cmd_Wuerfel2_Click(int index);
    void cmd_Wuerfel2_ToolTip(int index);
    void cmd_Reset_Click(int index);
    void cmd_ResetWurf_Click(int index);
    void showRefusal(const QString &text);
    // Tells assistive technology how many dice each follow-up button would roll now; the tool
    // tip, shown to the pointer, keeps its own handler.
    void describeFollowUps();

    // The selectors: number of dice and of sides, while dragged and when changed.
    void HScroll_Change();
    void HScroll_Augen_Change();
    // Marks which result labels and follow-up buttons make sense for the number of sides.
    void sidesUpdate();

    // Fits the frames, count labels and bottom controls to the window's size.
    void layoutPass();
    // Turns the count labels' captions by 90 degrees while "90°" is ticked.
    void Check_90Grad_Click();

    // The window's outer size in twips. Window managers draw frames of their own thickness (and
    // offscreen there is none), so the designed allowance for border and title bar stands in.
    float outerWidth() const;
    float outerHeight() const;
    void setOuterWidth(float twips);
    void setOuterHeight(float twips);

    struct EngineBinding;
    std::unique_ptr<WindowControls> ui_;
    std::unique_ptr<EngineBinding> engine_;
    bool shownOnce_ = false;
};

} // namespace talvero

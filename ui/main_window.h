// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Talvero's one window. How the pieces meet:
//   choices/      the choices the window offers and the settings keep, with their defaults.
//   engine/       the core, without Qt: DiceEngine (the rolls and resets, on rows of captions),
//                 the odds and their German texts, the roll log and its CSV, the copied page.
//                 The same core runs in the golden trace (trace/) and builds for the browser.
//   ui/controls/  the control kinds the window is made of: count label, command button, frames,
//                 tab control, plain labels, the font dialog, with twips geometry and pictures.
//   ui/           this window. Its controls are its own (WindowControls, in window_controls.h);
//                 a handler reads them and calls the dice engine, which writes its captions back
//                 through the label rows. The layout pass, the selectors and the 90° turn too.
//                 Beside the design: PageCommands (the odds, the log and the copy, on keys and in
//                 the context menu), the odds and log windows and their item models over the
//                 core's rows.
//   settings/     store/: the settings store on QtCore alone, every key declared once.
//                 commands/: what uses the window and the store: loading at start-up, saving
//                 at close, the font command and the about message. They talk to the window only
//                 through the face below.
//   app/          the composition root: one run of the program, what it is given (settings
//                 file, clock, start seed) and the process-wide set-up; main() makes one.
// Arrows point down only.
//
// Names: the design's names stand where the design speaks: object names and texts
// ("txt_Gewürfelt(3)", "Würfeln"), settings keys, and the design's handlers inside the class
// that owns the control (cmd_Wuerfel1_Click). C++ spells them in ASCII: ae, oe, ue, ss
// (txt_Gewuerfelt). Everything else has plain English names (applyStoredFont, clearCounts).
// Lengths are twips (15 to a logical pixel) and say so: twipsWidth() beside Qt's pixel width().

#include "choices/window_choices.h"
#include "engine/clock.h"
#include "engine/dice_engine.h"
#include "ui/controls/font_dialog_control.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace talvero {

struct WindowControls;
class PageCommands;

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
    // Rolls re-seed from `clock`; the random source starts from `startSeed`.
    MainWindow(Clock &clock, std::uint64_t startSeed, QWidget *parent = nullptr);
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
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
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
    // After every step that changed a page's counts.
    void countsChanged(Page page);

    // The keys beside the design: the about message and the context menu; the odds, the roll log
    // and the page copied are the page commands'.
    void createCommands(Clock &clock);
    // Tells assistive technology how many dice each follow-up button would roll now; the tool
    // tip, shown to the pointer, keeps its own handler.
    void describeFollowUps();

    // The context menu of the page shown: rerolls of its last roll, and the commands no control
    // of the design holds. Opened on a count label whose face or threshold the last roll has,
    // the label's own reroll comes first.
    void createContextMenu();
    void openContextMenu(const QPoint &globalPos, const QWidget *over);
    void addRerolls(Page page, const QWidget *over);
    Page shownPage() const;

    // The selectors, while dragged and when changed: the number of dice shown, and which
    // result labels and follow-up buttons make sense for the number of sides.
    void HScroll_Change();
    void HScroll_Augen_Change();

    // Fits the frames, count labels and bottom controls to the window's size.
    void layoutPass();
    // Turns the count labels' captions by 90 degrees while "90°" is ticked.
    void Check_90Grad_Click();

    // The window's outer size in twips. Window managers draw frames of their own thickness (and
    // offscreen there is none), so the designed allowance for border and title bar stands in.
    float twipsOuterWidth() const;
    float twipsOuterHeight() const;
    void setTwipsOuterWidth(float width);
    void setTwipsOuterHeight(float height);

    // The engine on this window's labels.
    DiceEngine &engine() const;

    struct EngineBinding;
    std::unique_ptr<WindowControls> ui_;
    std::unique_ptr<EngineBinding> engine_;
    QAction *aboutAction_ = nullptr;
    PageCommands *commands_ = nullptr;
    QMenu *contextMenu_ = nullptr;
    QMenu *rerollFaces_ = nullptr;
    QMenu *rerollFails_ = nullptr;
    bool shownOnce_ = false;
};

} // namespace talvero

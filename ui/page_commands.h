// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"
#include "engine/dice_engine.h"
#include "engine/page_odds.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QAction;
class QWidget;

namespace talvero {

struct WindowControls;
class OddsWindow;
class RollLogModel;
class RollLogWindow;
struct PageOddsInput;

// The commands beside the window's design: the odds and the roll log in windows of their own, the
// page shown copied as text. They live on keys and in the context menu; no control of the design
// holds them. The window makes one and tells it when counts change.
class PageCommands final : public QObject
{
    Q_OBJECT

public:
    // Listens to `engine`'s rolls; the log takes their time from `clock`.
    PageCommands(QWidget &window, const WindowControls &controls, DiceEngine &engine, Clock &clock);

    QAction *oddsAction() const { return oddsAction_; }
    QAction *logAction() const { return logAction_; }
    QAction *copyAction() const { return copyAction_; }

    // After every step that changed a page's counts.
    void countsChanged();
    // The cross of a page: the odds' sentence starts over with its counts.
    void cleared(Page page);

private:
    void rolled(const RollEvent &event);
    void showOdds();
    void showLog();
    void copyPage();
    Page shownPage() const;
    PageOddsInput oddsInput(Page page) const;
    // The odds window follows within a tenth of a second, however fast the counts change.
    void refreshOddsSoon();
    void refreshOdds();
    // What a screen reader hears on an at-least count besides its heading.
    QString oddsDescription(Page page, int threshold) const;

    QWidget &window_;
    const WindowControls &ui_;
    DiceEngine &engine_;
    Clock &clock_;
    QAction *oddsAction_;
    QAction *logAction_;
    QAction *copyAction_;
    RollLogModel *log_;
    RollLogWindow *logWindow_ = nullptr;
    OddsWindow *oddsWindow_ = nullptr;
    QTimer oddsRefresh_;
    QElapsedTimer sinceOddsRefresh_;
    SentenceThreshold sentenceThreshold_;
};

} // namespace talvero

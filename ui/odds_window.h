// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/dice_engine.h"

#include <QDialog>
#include <vector>

class QLabel;

namespace talvero {

class OddsModel;

// What the odds of a page are worked out from.
struct PageOddsInput
{
    Page page = Page::Hit;
    std::vector<DiceGroup> dice; // behind its counts
    PageCounts counts;
    int chosenSides = 6; // the rows to show while no die is behind the counts
    int threshold = 4;   // the at-least row the sentence speaks of
};

// "Chancen": how likely the counts of the page shown are with fair dice. Not modal; it follows
// the page the main window shows.
class OddsWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit OddsWindow(QWidget *parent = nullptr);

    void showCounts(const PageOddsInput &input);

private:
    QLabel *sentence_;
    QLabel *atLeastHeading_;
    QLabel *facesHeading_;
    OddsModel *atLeast_;
    OddsModel *faces_;
};

} // namespace talvero

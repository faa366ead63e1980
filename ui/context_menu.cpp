// SPDX-License-Identifier: GPL-3.0-or-later
// The window's context menu: rerolls of the shown page's last roll, and the commands that no
// control of the design holds. Right-click anywhere, the Menu key or Shift+F10.

#include "engine/page_text.h"
#include "ui/main_window.h"
#include "ui/page_commands.h"
#include "ui/window_controls.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace talvero {

namespace {

// The index of `widget` in `row`, or -1.
template <std::size_t N> int indexIn(const std::array<CountLabel *, N> &row, const QWidget *widget)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (row[i] == widget)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

Page MainWindow::shownPage() const
{
    return ui_->SSTab->currentPage() == 0 ? Page::Hit : Page::Damage;
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    openContextMenu(event->globalPos(), childAt(event->pos()));
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // Where the platform does not turn the Menu key into a context menu itself. On X11 it does,
    // and the menu then open takes the key.
    if (event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier) {
        const QWidget *focus = focusWidget() ? focusWidget() : this;
        openContextMenu(focus->mapToGlobal(focus->rect().center()), nullptr);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::createContextMenu()
{
    // One menu for the window's life, filled anew at each opening. Assistive technology keeps
    // one entry per action, tied to the menu that first showed it; with a menu per opening the
    // window's commands would lead to a deleted menu from the second opening on.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("ContextMenu"));
    contextMenu_->setAccessibleName(QStringLiteral("Befehle"));
    rerollFaces_ = new QMenu(QStringLiteral("Augenzahl neu würfeln"), contextMenu_);
    rerollFails_ = new QMenu(QStringLiteral("Fehlwürfe neu würfeln"), contextMenu_);
}

void MainWindow::openContextMenu(const QPoint &globalPos, const QWidget *over)
{
    contextMenu_->hide();
    // The rerolls of the last opening belong to the menus and go; the commands are the window's.
    for (QMenu *menu : {contextMenu_, rerollFaces_, rerollFails_})
        menu->clear();
    addRerolls(shownPage(), over);
    contextMenu_->addSeparator();
    contextMenu_->addActions(
        {commands_->oddsAction(), commands_->logAction(), commands_->copyAction()});
    contextMenu_->addSeparator();
    contextMenu_->addAction(aboutAction_);
    contextMenu_->popup(globalPos);
}

void MainWindow::addRerolls(Page page, const QWidget *over)
{
    const int sides = engine().lastRollSides(page).value_or(0);
    auto rerollFace = [this, page](QMenu &into, int face) {
        const std::uint64_t dice = engine().rerollableFace(page, face);
        QAction *action = into.addAction(QString::fromStdString(rerollFaceText(dice, face)));
        action->setEnabled(dice > 0);
        connect(action, &QAction::triggered, this, [this, page, face] {
            engine().rerollFace(page, face);
            countsChanged(page);
        });
    };
    auto rerollBelow = [this, page](QMenu &into, int threshold) {
        const std::uint64_t dice = engine().rerollableBelow(page, threshold);
        QAction *action = into.addAction(QString::fromStdString(rerollBelowText(dice, threshold)));
        action->setEnabled(dice > 0);
        connect(action, &QAction::triggered, this, [this, page, threshold] {
            engine().rerollBelow(page, threshold);
            countsChanged(page);
        });
    };

    // A right-click on a count of this page puts its reroll first, for the faces the last roll
    // could show: below 7+ of six sides would throw every die again, not the fails.
    const bool hitPage = page == Page::Hit;
    if (const int face = indexIn(hitPage ? ui_->txt_Gewuerfelt : ui_->txt_Gewuerfelt2, over) + 1;
        face >= 1 && face <= sides) {
        rerollFace(*contextMenu_, face);
        contextMenu_->addSeparator();
    } else if (const int threshold =
                   indexIn(hitPage ? ui_->txt_Gewuerfelt_2er : ui_->txt_Gewuerfelt_2er2, over) + 2;
               threshold >= 2 && threshold <= sides) {
        rerollBelow(*contextMenu_, threshold);
        contextMenu_->addSeparator();
    }

    contextMenu_->addMenu(rerollFaces_);
    contextMenu_->addMenu(rerollFails_);
    for (int face = 1; face <= sides; ++face)
        rerollFace(*rerollFaces_, face);
    for (int threshold = 2; threshold <= sides; ++threshold)
        rerollBelow(*rerollFails_, threshold);
    // Before the page's first roll and after its counts were cleared there is nothing to reroll.
    rerollFaces_->setEnabled(sides > 0);
    rerollFails_->setEnabled(sides > 0);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands beside its design: the about message by key, the odds and the roll log
// in windows of their own, the page shown copied as text. They live on keys and in the context
// menu; no control of the design holds them.

#include "engine/count_text.h"
#include "ui/main_window.h"
#include "ui/odds_window.h"
#include "ui/roll_log.h"
#include "ui/window_controls.h"
#include "ui/window_design.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTabBar>

namespace talvero {

namespace {

// How long the odds window waits at least between two refreshes.
constexpr int kOddsRefreshMs = 100;

std::uint64_t countOf(const CountLabel *label)
{
    return countAsDice(readCount(label->caption().toStdString()));
}

} // namespace

void MainWindow::createCommands()
{
    auto command = [this](const QString &text, const QKeySequence &key, void (MainWindow::*run)()) {
        auto *action = new QAction(text, this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
        return action;
    };
    oddsAction_ = command(QStringLiteral("Chancen…"), QKeySequence(Qt::CTRL | Qt::Key_I),
                          &MainWindow::showOdds);
    logAction_ = command(QStringLiteral("Verlauf…"), QKeySequence(Qt::CTRL | Qt::Key_H),
                         &MainWindow::showLog);
    copyAction_ = command(QStringLiteral("Seite kopieren"), QKeySequence(Qt::CTRL | Qt::Key_C),
                          &MainWindow::copyPage);
    // The logo takes no focus, so the keyboard reaches the about message through F1.
    aboutAction_ = command(QStringLiteral("Über %1…").arg(shortTitle()), QKeySequence(Qt::Key_F1),
                           &MainWindow::aboutRequested);
    // Shift+F10 opens the context menu, as the Menu key does.
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [this] {
        const QWidget *focus = focusWidget() ? focusWidget() : this;
        openContextMenu(focus->mapToGlobal(focus->rect().center()), nullptr);
    });
    addAction(menuKey);
    createContextMenu();

    log_ = new RollLog(this);
    engine().setListener([this](const RollEvent &event) { rolled(event); });
    oddsRefresh_.setSingleShot(true);
    connect(&oddsRefresh_, &QTimer::timeout, this, &MainWindow::refreshOdds);
    connect(ui_->SSTab->tabBar(), &QTabBar::currentChanged, this, &MainWindow::refreshOddsSoon);
    // A screen reader hears with every at-least count what fair dice give there.
    for (std::size_t k = 0; k < ui_->txt_Gewuerfelt_2er.size(); ++k) {
        const int threshold = static_cast<int>(k) + 2;
        ui_->txt_Gewuerfelt_2er[k]->setDescriber(
            [this, threshold] { return oddsDescription(Page::Hit, threshold); });
        ui_->txt_Gewuerfelt_2er2[k]->setDescriber(
            [this, threshold] { return oddsDescription(Page::Damage, threshold); });
    }
}

void MainWindow::rolled(const RollEvent &event)
{
    const bool newCount =
        (event.page == Page::Hit ? ui_->OptionWurf : ui_->OptionWurf2)[1]->isChecked();
    log_->add({QTime::currentTime(), event, newCount});
    if (event.kind == RollKind::FollowUp) {
        lookedAt_[static_cast<std::size_t>(Page::Hit)] = event.value;
        lookedAt_[static_cast<std::size_t>(Page::Damage)] = event.value;
    } else if (event.kind == RollKind::RerollBelow) {
        lookedAt_[static_cast<std::size_t>(event.page)] = event.value;
    }
}

void MainWindow::showOdds()
{
    if (!oddsWindow_)
        oddsWindow_ = new OddsWindow(this);
    refreshOdds();
    oddsWindow_->show();
    oddsWindow_->raise();
    oddsWindow_->activateWindow();
}

void MainWindow::showLog()
{
    if (!logWindow_)
        logWindow_ = new RollLogWindow(*log_, this);
    logWindow_->show();
    logWindow_->raise();
    logWindow_->activateWindow();
}

void MainWindow::copyPage()
{
    QGuiApplication::clipboard()->setText(pageText(shownPage()));
}

QString MainWindow::pageText(Page page) const
{
    const bool hits = page == Page::Hit;
    const auto row = [](const auto &labels, auto heading) {
        QStringList headings;
        QStringList counts;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            headings << heading(static_cast<int>(i));
            counts << labels[i]->caption();
        }
        return headings.join(QLatin1Char('\t')) + QLatin1Char('\n') +
               counts.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    return ui_->Frame[hits ? 0 : 1]->caption() + QLatin1Char('\n') +
           row(hits ? ui_->txt_Gewuerfelt : ui_->txt_Gewuerfelt2, faceHeading) +
           row(hits ? ui_->txt_Gewuerfelt_2er : ui_->txt_Gewuerfelt_2er2, thresholdHeading) +
           ui_->txt_Wurfinfo[hits ? 0 : 1]->caption() + QLatin1Char('\n');
}

PageCounts MainWindow::pageCounts(Page page) const
{
    const bool hits = page == Page::Hit;
    PageCounts counts;
    counts.page = ui_->SSTab->tabBar()->tabText(hits ? 0 : 1).trimmed();
    counts.dice = engine().diceBehind(page);
    for (std::size_t i = 0; i < counts.faces.size(); ++i)
        counts.faces[i] = countOf((hits ? ui_->txt_Gewuerfelt : ui_->txt_Gewuerfelt2)[i]);
    for (std::size_t i = 0; i < counts.atLeast.size(); ++i)
        counts.atLeast[i] = countOf((hits ? ui_->txt_Gewuerfelt_2er : ui_->txt_Gewuerfelt_2er2)[i]);
    // The threshold looked at while the last roll's dice can reach it, else the middle one of
    // their sides: 4+ of six.
    const int sides = engine().lastRollSides(page).value_or(ui_->HScroll_Augen->value());
    const std::optional<int> lookedAt = lookedAt_[static_cast<std::size_t>(page)];
    counts.threshold = lookedAt && *lookedAt <= sides ? *lookedAt : (sides + 2) / 2;
    return counts;
}

void MainWindow::refreshOddsSoon()
{
    if (!oddsWindow_ || !oddsWindow_->isVisible() || oddsRefresh_.isActive())
        return;
    const qint64 since = sinceOddsRefresh_.isValid() ? sinceOddsRefresh_.elapsed() : kOddsRefreshMs;
    oddsRefresh_.start(static_cast<int>(std::max<qint64>(0, kOddsRefreshMs - since)));
}

void MainWindow::refreshOdds()
{
    if (!oddsWindow_)
        return;
    oddsWindow_->showCounts(pageCounts(shownPage()));
    sinceOddsRefresh_.start();
}

QString MainWindow::oddsDescription(Page page, int threshold) const
{
    const std::vector<DiceGroup> dice = engine().diceBehind(page);
    if (dice.empty())
        return {};
    const RowDistribution distribution(dice, RowKind::AtLeast, threshold);
    const auto *label =
        (page == Page::Hit ? ui_->txt_Gewuerfelt_2er
                           : ui_->txt_Gewuerfelt_2er2)[static_cast<std::size_t>(threshold - 2)];
    const RowOdds odds = oddsOf(distribution, countOf(label));
    return QStringLiteral(", erwartet %1, üblich %2 bis %3")
        .arg(expectedText(odds.expected))
        .arg(odds.usualLow)
        .arg(odds.usualHigh);
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/page_commands.h"

#include "engine/odds_text.h"
#include "engine/page_text.h"
#include "ui/odds_window.h"
#include "ui/roll_log_model.h"
#include "ui/roll_log_window.h"
#include "ui/window_controls.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTabBar>
#include <algorithm>

namespace talvero {

namespace {

// How long the odds window waits at least between two refreshes.
constexpr int kOddsRefreshMs = 100;

std::vector<std::string> captionsOf(const auto &labels)
{
    std::vector<std::string> captions;
    for (const auto *label : labels)
        captions.push_back(label->caption().toStdString());
    return captions;
}

} // namespace

PageCommands::PageCommands(QWidget &window, const WindowControls &controls, DiceEngine &engine,
                           Clock &clock)
    : QObject(&window)
    , window_(window)
    , ui_(controls)
    , engine_(engine)
    , clock_(clock)
    , log_(new RollLogModel(this))
{
    auto command = [this](const QString &text, const QKeySequence &key,
                          void (PageCommands::*run)()) {
        auto *action = new QAction(text, &window_);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, run);
        window_.addAction(action);
        return action;
    };
    oddsAction_ = command(QStringLiteral("Chancen…"), QKeySequence(Qt::CTRL | Qt::Key_I),
                          &PageCommands::showOdds);
    logAction_ = command(QStringLiteral("Verlauf…"), QKeySequence(Qt::CTRL | Qt::Key_H),
                         &PageCommands::showLog);
    copyAction_ = command(QStringLiteral("Seite kopieren"), QKeySequence(Qt::CTRL | Qt::Key_C),
                          &PageCommands::copyPage);

    engine_.setListener([this](const RollEvent &event) { rolled(event); });
    oddsRefresh_.setSingleShot(true);
    connect(&oddsRefresh_, &QTimer::timeout, this, &PageCommands::refreshOdds);
    connect(ui_.SSTab->tabBar(), &QTabBar::currentChanged, this, &PageCommands::refreshOddsSoon);
    // A screen reader hears with every at-least count what fair dice give there.
    for (std::size_t k = 0; k < ui_.txt_Gewuerfelt_2er.size(); ++k) {
        const int threshold = static_cast<int>(k) + 2;
        ui_.txt_Gewuerfelt_2er[k]->setDescriber(
            [this, threshold] { return oddsDescription(Page::Hit, threshold); });
        ui_.txt_Gewuerfelt_2er2[k]->setDescriber(
            [this, threshold] { return oddsDescription(Page::Damage, threshold); });
    }
}

void PageCommands::countsChanged()
{
    refreshOddsSoon();
}

void PageCommands::cleared(Page page)
{
    sentenceThreshold_.cleared(page);
}

void PageCommands::rolled(const RollEvent &event)
{
    const bool newCount =
        (event.page == Page::Hit ? ui_.OptionWurf : ui_.OptionWurf2)[1]->isChecked();
    log_->add({clock_.now(), event, newCount});
    sentenceThreshold_.rolled(event);
}

void PageCommands::showOdds()
{
    if (!oddsWindow_)
        oddsWindow_ = new OddsWindow(&window_);
    refreshOdds();
    oddsWindow_->show();
    oddsWindow_->raise();
    oddsWindow_->activateWindow();
}

void PageCommands::showLog()
{
    if (!logWindow_)
        logWindow_ = new RollLogWindow(*log_, &window_);
    logWindow_->show();
    logWindow_->raise();
    logWindow_->activateWindow();
}

Page PageCommands::shownPage() const
{
    return ui_.SSTab->currentPage() == 0 ? Page::Hit : Page::Damage;
}

void PageCommands::copyPage()
{
    const bool hits = shownPage() == Page::Hit;
    const std::string text =
        pageText(ui_.Frame[hits ? 0 : 1]->caption().toStdString(),
                 captionsOf(hits ? ui_.txt_Gewuerfelt : ui_.txt_Gewuerfelt2),
                 captionsOf(hits ? ui_.txt_Gewuerfelt_2er : ui_.txt_Gewuerfelt_2er2),
                 ui_.txt_Wurfinfo[hits ? 0 : 1]->caption().toStdString());
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

PageOddsInput PageCommands::oddsInput(Page page) const
{
    const int chosenSides = ui_.HScroll_Augen->value();
    const int sides = engine_.lastRollSides(page).value_or(chosenSides);
    return {page, engine_.diceBehind(page), engine_.counts(page), chosenSides,
            sentenceThreshold_.threshold(page, sides)};
}

void PageCommands::refreshOddsSoon()
{
    if (!oddsWindow_ || !oddsWindow_->isVisible() || oddsRefresh_.isActive())
        return;
    const qint64 since = sinceOddsRefresh_.isValid() ? sinceOddsRefresh_.elapsed() : kOddsRefreshMs;
    oddsRefresh_.start(static_cast<int>(std::max<qint64>(0, kOddsRefreshMs - since)));
}

void PageCommands::refreshOdds()
{
    if (!oddsWindow_)
        return;
    oddsWindow_->showCounts(oddsInput(shownPage()));
    sinceOddsRefresh_.start();
}

QString PageCommands::oddsDescription(Page page, int threshold) const
{
    const std::vector<DiceGroup> dice = engine_.diceBehind(page);
    if (dice.empty())
        return {};
    const std::uint64_t count =
        engine_.counts(page).atLeast[static_cast<std::size_t>(threshold - 2)];
    return QString::fromStdString(talvero::oddsDescription(
        oddsOf(RowDistribution(dice, RowKind::AtLeast, threshold), count)));
}

} // namespace talvero

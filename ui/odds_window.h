// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/odds.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QTableView;

namespace talvero {

// A page's counts as it shows them, the dice behind them, and the row a player looks at.
struct PageCounts
{
    QString page; // its tab's caption, trimmed
    std::vector<DiceGroup> dice;
    std::array<std::uint64_t, 10> faces{};  // "1er" .. "10er"
    std::array<std::uint64_t, 9> atLeast{}; // "2+" .. "10+"
    int threshold = 4;                      // the at-least row the sentence speaks of
};

// German texts of the odds: "30,0", "2,6 %", "24–36"; a no-break space before "%".
QString expectedText(double expected);
QString shareText(double share);
QString usualRangeText(const RowOdds &odds);
// One plain sentence on one at-least row: its count against what fair dice give.
QString oddsSentence(int threshold, std::uint64_t count, const RowOdds &odds);

// The odds of one row of a page (its at-least row or its face row), one table row each.
class OddsTable final : public QAbstractTableModel
{
    Q_OBJECT

public:
    OddsTable(RowKind kind, QObject *parent = nullptr);

    // The counts shown and the dice behind them; the odds are worked out again only when the
    // dice changed.
    void setCounts(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts);
    const RowOdds &odds(int row) const { return odds_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RowKind kind_;
    std::optional<std::vector<DiceGroup>> dice_;
    std::vector<RowDistribution> distributions_;
    std::vector<std::uint64_t> counts_;
    std::vector<RowOdds> odds_;
};

// "Chancen": how likely the counts of the page shown are with fair dice. Not modal; it follows
// the page the main window shows.
class OddsWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit OddsWindow(QWidget *parent = nullptr);

    void showCounts(const PageCounts &counts);

private:
    QLabel *sentence_;
    QLabel *atLeastHeading_;
    QLabel *facesHeading_;
    OddsTable *atLeast_;
    OddsTable *faces_;
};

} // namespace talvero

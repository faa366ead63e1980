// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/page_odds.h"

#include <QAbstractTableModel>

namespace talvero {

// The odds of one row of a page, one table row for each count its dice can reach: a thin view of
// the engine's table. Screen readers hear the spoken texts ("24 bis 36", "2,6 Prozent").
class OddsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit OddsModel(RowKind kind, QObject *parent = nullptr);

    void update(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts,
                int chosenSides);
    const RowOddsTable &table() const { return table_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    RowOddsTable table_;
};

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/odds_model.h"

namespace talvero {

namespace {

// The six sides of a die before its first roll.
constexpr int kSidesAtStart = 6;

} // namespace

OddsModel::OddsModel(RowKind kind, QObject *parent)
    : QAbstractTableModel(parent)
    , table_(kind)
{
    table_.update({}, {}, kSidesAtStart);
}

void OddsModel::update(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts,
                       int chosenSides)
{
    const int rows = RowOddsTable::rowsFor(table_.kind(), reachableSides(dice, chosenSides));
    if (rows != table_.size()) {
        beginResetModel();
        table_.update(dice, counts, chosenSides);
        endResetModel();
        return;
    }
    table_.update(dice, counts, chosenSides);
    if (rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, kOddsColumnCount - 1),
                           {Qt::DisplayRole, Qt::AccessibleTextRole});
}

int OddsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.size();
}

int OddsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kOddsColumnCount;
}

QVariant OddsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const Voice voice = role == Qt::AccessibleTextRole ? Voice::Spoken : Voice::Written;
    return QString::fromStdString(
        table_.cellText(index.row(), static_cast<OddsColumn>(index.column()), voice));
}

QVariant OddsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const int sections = orientation == Qt::Horizontal ? kOddsColumnCount : table_.size();
    if (section < 0 || section >= sections)
        return {};
    // The window's own headings down the side.
    return QString::fromStdString(orientation == Qt::Horizontal
                                      ? oddsColumnTitle(static_cast<OddsColumn>(section))
                                      : table_.heading(section));
}

} // namespace talvero

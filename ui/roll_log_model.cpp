// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/roll_log_model.h"

namespace talvero {

RollLogModel::RollLogModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void RollLogModel::add(const RollLog::Entry &entry)
{
    if (log_.full()) {
        beginRemoveRows({}, 0, 0);
        log_.dropOldest();
        endRemoveRows();
    }
    const int row = rowCount();
    beginInsertRows({}, row, row);
    log_.add(entry);
    endInsertRows();
}

int RollLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(log_.size());
}

int RollLogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kLogColumnCount;
}

QVariant RollLogModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto column = static_cast<LogColumn>(index.column());
    if (role == Qt::TextAlignmentRole && column >= LogColumn::Dice && column != LogColumn::Counting)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return QString::fromStdString(
        RollLog::cellText(log_.entry(static_cast<std::size_t>(index.row())), index.column()));
}

QVariant RollLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::AccessibleTextRole) ||
        orientation != Qt::Horizontal || section < 0 || section >= kLogColumnCount)
        return {};
    return QString::fromStdString(RollLog::columnTitle(section));
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/roll_log.h"

#include <QAbstractTableModel>

namespace talvero {

// The roll log of this run in a table: a thin view of the engine's log, which it owns. It lives
// as long as the run.
class RollLogModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RollLogModel(QObject *parent = nullptr);

    // The newest last; past RollLog::kMostEvents the oldest row goes first.
    void add(const RollLog::Entry &entry);
    const RollLog &log() const { return log_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    RollLog log_;
};

} // namespace talvero

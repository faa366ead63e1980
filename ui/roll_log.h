// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/dice_engine.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QTime>
#include <deque>

class QIODevice;

namespace talvero {

// Every roll, follow-up roll and reroll of this run, newest last, the last 100,000 of them. It
// lives as long as the run.
class RollLog final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr std::size_t kMostEvents = 100'000;

    struct Entry
    {
        QTime time;
        RollEvent event;
        bool newCount = false; // the page's counting mode: "neue Zählung" or "Addition"
    };

    explicit RollLog(QObject *parent = nullptr);

    void add(const Entry &entry);
    const std::deque<Entry> &entries() const { return entries_; }

    // The log as CSV: UTF-8 after its byte-order mark, a header row, one line per event. Commas
    // as RFC 4180 has it; semicolons for spreadsheets set to German, where the comma is decimal.
    QByteArray csv(char separator = ',') const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(const Entry &entry, int column) const;

    std::deque<Entry> entries_;
};

// "Verlauf": the roll log in a table, saved as CSV on request. Not modal.
class RollLogWindow final : public QDialog
{
    Q_OBJECT

public:
    RollLogWindow(RollLog &log, QWidget *parent = nullptr);

private:
    void saveAsCsv();

    RollLog &log_;
};

} // namespace talvero

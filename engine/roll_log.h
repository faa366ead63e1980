// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/clock.h"
#include "engine/dice_engine.h"

#include <cstddef>
#include <deque>
#include <string>

namespace talvero {

// "hh:mm:ss", two digits each.
std::string logTimeText(const TimeOfDay &time);

// The two kinds of CSV: commas as RFC 4180 has it; semicolons for spreadsheets set to German,
// where the comma is decimal.
enum class CsvSeparator
{
    Comma,
    Semicolon
};

// The columns of the log: time, page, what happened, dice, sides, counting mode, then the faces
// the event threw.
enum class LogColumn
{
    Time,
    Page,
    Event,
    Dice,
    Sides,
    Counting,
    FirstFace
};
inline constexpr int kLogColumnCount = static_cast<int>(LogColumn::FirstFace) + kFaceCount;

// Every roll, follow-up roll and reroll of a run, newest last, the last kMostEvents of them.
class RollLog
{
public:
    static constexpr std::size_t kMostEvents = 100'000;

    struct Entry
    {
        TimeOfDay time;
        RollEvent event;
        bool newCount = false; // the page's counting mode: "neue Zählung" or "Addition"
    };

    // Adds `entry` as the newest; the oldest goes when the log is full.
    void add(const Entry &entry);
    bool full() const { return entries_.size() >= kMostEvents; }
    void dropOldest();

    std::size_t size() const { return entries_.size(); }
    const Entry &entry(std::size_t row) const { return entries_[row]; }

    static std::string columnTitle(int column);
    // A cell's text; nothing for a column out of range.
    static std::string cellText(const Entry &entry, int column);
    // The log as CSV: UTF-8 after its byte-order mark, a header row, one CRLF-ended line per
    // event.
    std::string csv(CsvSeparator separator) const;

private:
    std::deque<Entry> entries_;
};

} // namespace talvero

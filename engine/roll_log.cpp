// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/roll_log.h"

#include "engine/page_text.h"

namespace talvero {

namespace {

constexpr const char *kTitles[static_cast<int>(LogColumn::FirstFace)] = {
    "Zeit", "Seite", "Ereignis", "Würfel", "Seiten", "Zählung"};

std::string twoDigits(int value)
{
    const int clamped = value < 0 ? 0 : value % 100;
    return {static_cast<char>('0' + clamped / 10), static_cast<char>('0' + clamped % 10)};
}

std::string happening(const RollEvent &event)
{
    const std::string value = std::to_string(event.value);
    switch (event.kind) {
    case RollKind::Roll:
        return "Wurf";
    case RollKind::FollowUp:
        return "Folgewurf " + value + "+";
    case RollKind::RerollFace:
        return value + "er neu gewürfelt";
    case RollKind::RerollBelow:
        return "unter " + value + "+ neu gewürfelt";
    }
    return {};
}

// A CSV field, quoted where it holds the separator, a quote or a line break.
std::string csvField(const std::string &text, char separator)
{
    if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos)
        return text;
    std::string field = "\"";
    for (const char c : text) {
        field += c;
        if (c == '"')
            field += '"';
    }
    return field + '"';
}

} // namespace

std::string logTimeText(const TimeOfDay &time)
{
    return twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second);
}

void RollLog::add(const Entry &entry)
{
    if (full())
        dropOldest();
    entries_.push_back(entry);
}

void RollLog::dropOldest()
{
    if (!entries_.empty())
        entries_.pop_front();
}

std::string RollLog::columnTitle(int column)
{
    if (column < 0 || column >= kLogColumnCount)
        return {};
    const int first = static_cast<int>(LogColumn::FirstFace);
    return column < first ? kTitles[column] : faceHeadingText(column - first);
}

std::string RollLog::cellText(const Entry &entry, int column)
{
    const RollEvent &event = entry.event;
    const int first = static_cast<int>(LogColumn::FirstFace);
    if (column >= first && column < kLogColumnCount)
        return std::to_string(event.thrown.faces[static_cast<std::size_t>(column - first)]);
    switch (static_cast<LogColumn>(column)) {
    case LogColumn::Time:
        return logTimeText(entry.time);
    case LogColumn::Page:
        return pageName(event.page);
    case LogColumn::Event:
        return happening(event);
    case LogColumn::Dice:
        return std::to_string(event.thrown.dice);
    case LogColumn::Sides:
        return std::to_string(event.thrown.sides);
    case LogColumn::Counting:
        return entry.newCount ? "neue Zählung" : "Addition";
    case LogColumn::FirstFace:
        break;
    }
    return {};
}

std::string RollLog::csv(CsvSeparator separator) const
{
    const char mark = separator == CsvSeparator::Semicolon ? ';' : ',';
    // Without the byte-order mark a spreadsheet takes the file for its own code page and
    // garbles "Würfel".
    std::string out = "\xEF\xBB\xBF";
    const auto record = [&](auto field) {
        for (int column = 0; column < kLogColumnCount; ++column) {
            if (column > 0)
                out += mark;
            out += csvField(field(column), mark);
        }
        out += "\r\n";
    };
    record(columnTitle);
    for (const Entry &entry : entries_)
        record([&](int column) { return cellText(entry, column); });
    return out;
}

} // namespace talvero

#pragma once

// Stand-ins for the window's labels and clock, for tests of the engine without a window.

#include "engine/clock.h"
#include "engine/count_row.h"

#include <deque>
#include <string>
#include <vector>

namespace talvero::testing {

// Every caption write and clock read, in the order they happened.
struct Journal
{
    std::vector<std::string> entries;
    void add(std::string entry) { entries.push_back(std::move(entry)); }
};

class StringRow final : public CountRow
{
public:
    StringRow(std::string name, int size, Journal *journal = nullptr)
        : captions(static_cast<std::size_t>(size), "0")
        , name_(std::move(name))
        , journal_(journal)
    {}

    int size() const override { return static_cast<int>(captions.size()); }
    std::string caption(int index) const override
    {
        return captions.at(static_cast<std::size_t>(index));
    }
    void setCaption(int index, std::string_view text) override
    {
        captions.at(static_cast<std::size_t>(index)) = std::string(text);
        ++writes;
        if (journal_)
            journal_->add(name_ + "(" + std::to_string(index) + ")=" + std::string(text));
    }

    double sum() const
    {
        double total = 0;
        for (const auto &c : captions)
            total += std::stod(c);
        return total;
    }

    std::vector<std::string> captions;
    int writes = 0;

private:
    std::string name_;
    Journal *journal_;
};

class CaptionLog final : public CaptionTarget
{
public:
    explicit CaptionLog(std::string name, std::string initial, Journal *journal = nullptr)
        : text(std::move(initial))
        , name_(std::move(name))
        , journal_(journal)
    {}
    void setCaption(std::string_view caption) override
    {
        text = std::string(caption);
        ++writes;
        if (journal_)
            journal_->add(name_ + "=" + text);
    }

    std::string text;
    int writes = 0;

private:
    std::string name_;
    Journal *journal_;
};

// A clock that returns the given times one after the other, then keeps the last one.
class ScriptedClock final : public Clock
{
public:
    explicit ScriptedClock(std::deque<TimeOfDay> times = {{0, 0}}, Journal *journal = nullptr)
        : times_(std::move(times))
        , journal_(journal)
    {}
    void set(std::deque<TimeOfDay> times) { times_ = std::move(times); }
    TimeOfDay now() override
    {
        ++reads;
        if (journal_)
            journal_->add("clock");
        const TimeOfDay t = times_.front();
        if (times_.size() > 1)
            times_.pop_front();
        return t;
    }
    int reads = 0;

private:
    std::deque<TimeOfDay> times_;
    Journal *journal_;
};

// Both pages' rows, frames and counter labels, as a window has them when it is created.
struct Pages
{
    explicit Pages(Journal *journal = nullptr)
        : face{StringRow("face0", 10, journal), StringRow("face1", 10, journal)}
        , atLeast{StringRow("atLeast0", 9, journal), StringRow("atLeast1", 9, journal)}
        , frame{CaptionLog("frame0", "Wurfergebnis", journal),
                CaptionLog("frame1", "Wurfergebnis", journal)}
        , counter{CaptionLog("counter0", "Wurf 0", journal),
                  CaptionLog("counter1", "Wurf 0", journal)}
    {}
    TallySet set(int i) { return {face[i], atLeast[i], frame[i], counter[i]}; }

    StringRow face[2];
    StringRow atLeast[2];
    CaptionLog frame[2];
    CaptionLog counter[2];
};

} // namespace talvero::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// The golden trace: a long, varied but fixed script of commands on both pages, and the odds of
// rows around the boundaries between the odds methods, with every caption and figure printed.
// Every build of the core must print the same bytes; `make core-check` compares them.
// Usage: golden_trace [--summary]   (--summary runs everything but prints only the last line)
//        golden_trace --commands < script   (see runCommands)
#include "engine/clock.h"
#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/odds.h"
#include "engine/odds_text.h"
#include "engine/page_odds.h"
#include "engine/page_text.h"
#include "engine/roll_log.h"
#include "engine/text_pages.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

using namespace talvero;

namespace {

constexpr int kPageSteps = 10'000;
constexpr int kOddsSteps = 400;
// Every caption is printed in full this often; in between only what changed.
constexpr int kFullStateEvery = 250;
constexpr std::uint64_t kStartSeed = 0x7A1F'E20B'5EED'0001ull;
constexpr std::uint64_t kScriptSeed = 0x0DD5'C0DE'2026'1207ull;
constexpr int kMostDice = 200;
constexpr int kFewestSides = 2;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kHoursPerDay = 24;
// Platforms' maths libraries differ in the last bit of exp, log and pow, which moves the 11th
// digit now and then; the incomplete beta of many dice magnifies that, and the skew-normal is an
// approximation to 1e-6 anyway.
constexpr int kSignificantDigits = 10;
constexpr int kManyDiceDigits = 8;

// The script's own generator (xorshift64*), apart from the engine's, so that a change in the
// engine's random source changes the dice but not the commands.
class ScriptRandom
{
public:
    explicit ScriptRandom(std::uint64_t seed)
        : state_(seed)
    {}
    std::uint64_t next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545'F491'4F6C'DD1Dull;
    }
    // first..last, both included.
    int between(int first, int last)
    {
        return first + static_cast<int>(next() % static_cast<std::uint64_t>(last - first + 1));
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

private:
    std::uint64_t state_;
};

// A clock that moves on by a few seconds at every read, across minutes and around the hour.
class ScriptedClock final : public Clock
{
public:
    TimeOfDay now() override
    {
        ++reads_;
        seconds_ = (seconds_ + 1 + reads_ % 23) % kSecondsPerHour;
        if (seconds_ < previous_)
            hour_ = (hour_ + 1) % kHoursPerDay;
        previous_ = seconds_;
        return {seconds_ / kSecondsPerMinute, seconds_ % kSecondsPerMinute, hour_};
    }

private:
    int seconds_ = 3540; // 59:00, so the hour wraps early
    int previous_ = 3540;
    int hour_ = 23; // and the day soon after
    int reads_ = 0;
};

// A double to `digits` significant digits, the same bytes from every platform's C library.
std::string figure(double value, int digits = kSignificantDigits)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*g", digits, value);
    return buffer.data();
}

std::string shortName(Page page)
{
    return page == Page::Hit ? "hit" : "damage";
}

// Words separated by blanks.
void addWord(std::string &text, const std::string &word)
{
    if (!text.empty())
        text += ' ';
    text += word;
}

std::string groupsText(const std::vector<DiceGroup> &groups)
{
    std::string text;
    for (const DiceGroup &group : groups) {
        addWord(text, countText(group.dice) + "d" + std::to_string(group.sides) + "/" +
                          std::to_string(group.rerolledFaces));
    }
    return text.empty() ? "-" : text;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// Everything the pages show and the engine tells, by name: the one place to add to.
Entries snapshot(TextPages &pages)
{
    Entries entries;
    DiceEngine &engine = pages.engine();
    for (const Page page : {Page::Hit, Page::Damage}) {
        const std::string name = shortName(page);
        for (int i = 0; i < DiceEngine::kFaceCount; ++i)
            entries.emplace_back(name + ".face" + std::to_string(i + 1),
                                 pages.faceRow(page).caption(i));
        for (int i = 0; i < DiceEngine::kThresholdCount; ++i)
            entries.emplace_back(name + ".atLeast" + std::to_string(i + 2),
                                 pages.atLeastRow(page).caption(i));
        entries.emplace_back(name + ".frame", pages.frame(page));
        entries.emplace_back(name + ".counter", pages.counter(page));
        const std::optional<int> sides = engine.lastRollSides(page);
        entries.emplace_back(name + ".lastRollSides", sides ? std::to_string(*sides) : "-");
        entries.emplace_back(name + ".diceBehind", groupsText(engine.diceBehind(page)));
        std::string faces, below;
        for (int face = 1; face <= DiceEngine::kFaceCount; ++face)
            addWord(faces, countText(engine.rerollableFace(page, face)));
        for (int threshold = 2; threshold <= DiceEngine::kFaceCount; ++threshold)
            addWord(below, countText(engine.rerollableBelow(page, threshold)));
        entries.emplace_back(name + ".rerollableFace", faces);
        entries.emplace_back(name + ".rerollableBelow", below);
    }
    for (int i = 0; i < DiceEngine::kThresholdCount; ++i)
        entries.emplace_back("toolTip" + std::to_string(i + 2), engine.followUpToolTip(i));
    return entries;
}

class Trace
{
public:
    explicit Trace(bool summaryOnly)
        : summaryOnly_(summaryOnly)
    {}
    ~Trace() { flush(); }
    Trace(const Trace &) = delete;
    Trace &operator=(const Trace &) = delete;

    void line(std::string_view text)
    {
        ++lines_;
        if (summaryOnly_)
            return;
        buffer_ += text;
        buffer_ += '\n';
        if (buffer_.size() > kFlushSize)
            flush();
    }
    void summary(std::string_view text)
    {
        summaryOnly_ = false;
        line(text);
        flush();
    }
    long lines() const { return lines_; }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void flush()
    {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        std::fflush(stdout);
        buffer_.clear();
    }

    bool summaryOnly_;
    std::string buffer_;
    long lines_ = 0;
};

// Prints what changed since the last call, or everything.
class StatePrinter
{
public:
    void print(Trace &trace, TextPages &pages, bool everything)
    {
        const Entries now = snapshot(pages);
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (everything || i >= last_.size() || last_[i].second != now[i].second)
                trace.line("  " + now[i].first + " = " + now[i].second);
        }
        last_ = now;
    }

private:
    Entries last_;
};

// A step's command and what it answered, and figures to print below it.
struct Step
{
    std::string command;
    std::vector<std::string> figures;
};

void addOdds(Step &step, const RowDistribution &distribution, std::uint64_t count)
{
    const RowOdds odds = oddsOf(distribution, count);
    const int digits =
        odds.dice > RowDistribution::kExactDice ? kManyDiceDigits : kSignificantDigits;
    step.figures.push_back("  dice " + countText(odds.dice) + ", expected " +
                           figure(odds.expected) + ", usual " + countText(odds.usualLow) + ".." +
                           countText(odds.usualHigh) + ", exact " + (odds.exact ? "yes" : "no"));
    step.figures.push_back("  count " + countText(count) + ": atLeast " +
                           figure(odds.atLeastShare, digits) + ", atMost " +
                           figure(odds.atMostShare, digits));
    // A few counts around the mean, one standard deviation of a fair die's row apart.
    const double spread = std::sqrt(std::max(odds.expected, 1.0));
    for (const double offset : {-2.0, -1.0, 0.0, 1.0, 2.0}) {
        const double at = std::max(0.0, std::floor(odds.expected + offset * spread));
        const auto k = static_cast<std::uint64_t>(at);
        step.figures.push_back("  at " + countText(k) + ": atMost " +
                               figure(distribution.atMost(k), digits) + ", atLeast " +
                               figure(distribution.atLeast(k), digits));
    }
}

std::string rowName(RowKind kind, int value)
{
    return (kind == RowKind::Face ? "face" : "atLeast") + std::to_string(value);
}

// What the window keeps beside the engine, as a front end keeps it: the roll log, with each
// event's counting mode and time, and the threshold the odds' sentence speaks of.
struct Session
{
    Session(Clock &clock, TextPages &pages)
    {
        pages.engine().setListener([this, &clock](const RollEvent &event) {
            log.add({clock.now(), event, newCount});
            sentence.rolled(event);
        });
    }
    RollLog log;
    SentenceThreshold sentence;
    bool newCount = false;
    std::size_t printedEvents = 0;
};

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// The odds window's table of one row of the page, written and spoken, and its sentence.
void addOddsTexts(Step &step, TextPages &pages, const Session &session, Page page, RowKind kind,
                  int chosenSides)
{
    const DiceEngine &engine = pages.engine();
    const std::vector<DiceGroup> dice = engine.diceBehind(page);
    const PageCounts counts = engine.counts(page);
    RowOddsTable table(kind);
    if (kind == RowKind::Face)
        table.update(dice, counts.faces, chosenSides);
    else
        table.update(dice, counts.atLeast, chosenSides);
    for (int row = 0; row < table.size(); ++row) {
        std::string written, spoken;
        for (int column = 0; column < kOddsColumnCount; ++column) {
            written += " | " + table.cellText(row, static_cast<OddsColumn>(column), Voice::Written);
            spoken += " | " + table.cellText(row, static_cast<OddsColumn>(column), Voice::Spoken);
        }
        step.figures.push_back("  " + table.heading(row) + written + " /" + spoken);
    }
    if (kind == RowKind::AtLeast) {
        const int threshold =
            session.sentence.threshold(page, engine.lastRollSides(page).value_or(chosenSides));
        step.figures.push_back("  sentence " +
                               pageSentence(table, counts.atLeast, dice, threshold));
        if (const std::optional<int> row = table.rowOf(threshold))
            step.figures.push_back("  described" + oddsDescription(table.odds(*row)));
    }
}

// The log's rows added since the last call.
void printNewEvents(Trace &trace, Session &session)
{
    for (; session.printedEvents < session.log.size(); ++session.printedEvents) {
        std::string cells;
        for (int column = 0; column < kLogColumnCount; ++column)
            cells += (column ? " | " : "") +
                     RollLog::cellText(session.log.entry(session.printedEvents), column);
        trace.line("  log " + cells);
    }
}

// One scripted command on the pages; returns what it answered.
Step pageStep(ScriptRandom &script, TextPages &pages, Session &session)
{
    DiceEngine &engine = pages.engine();
    const Page page = script.chance(50) ? Page::Hit : Page::Damage;
    const int sides = script.between(kFewestSides, DiceEngine::kFaceCount);
    const bool newCount = script.chance(40);
    session.newCount = newCount;
    const std::string mode = newCount ? " new" : " add";
    const int command = script.between(0, 99);
    if (command < 30) {
        const int dice = script.between(1, kMostDice);
        engine.hitRoll(dice, sides, newCount);
        return {"hitRoll " + std::to_string(dice) + "d" + std::to_string(sides) + mode, {}};
    }
    if (command < 50) {
        // The high thresholds often have no hits: refusals.
        const int index = script.between(0, DiceEngine::kThresholdCount - 1);
        const std::optional<std::string> refusal = engine.followUpRoll(index, sides, newCount);
        return {"followUpRoll " + std::to_string(index + 2) + "+ d" + std::to_string(sides) + mode +
                    " -> " + (refusal ? *refusal : "rolled"),
                {}};
    }
    if (command < 60) {
        const int face = script.between(0, DiceEngine::kFaceCount + 1);
        return {shortName(page) + " rerollFace " + std::to_string(face) + " -> " +
                    countText(engine.rerollFace(page, face)),
                {}};
    }
    if (command < 70) {
        const int threshold = script.between(1, DiceEngine::kFaceCount + 1);
        return {shortName(page) + " rerollBelow " + std::to_string(threshold) + " -> " +
                    countText(engine.rerollBelow(page, threshold)),
                {}};
    }
    if (command < 75) {
        engine.clearCounts(page);
        session.sentence.cleared(page);
        return {shortName(page) + " clearCounts", {}};
    }
    if (command < 80) {
        engine.resetRollCounter(page);
        return {shortName(page) + " resetRollCounter", {}};
    }
    if (command < 85) {
        const int index = script.between(-1, DiceEngine::kThresholdCount);
        return {"followUpToolTip " + std::to_string(index) + " -> " + engine.followUpToolTip(index),
                {}};
    }
    // The odds of one row of the page, at the count it shows.
    const RowKind kind = script.chance(50) ? RowKind::Face : RowKind::AtLeast;
    const int value = script.between(kind == RowKind::Face ? 1 : 2, DiceEngine::kFaceCount);
    const std::string caption = kind == RowKind::Face ? pages.faceRow(page).caption(value - 1)
                                                      : pages.atLeastRow(page).caption(value - 2);
    const std::vector<DiceGroup> groups = engine.diceBehind(page);
    const RowDistribution distribution(groups, kind, value);
    Step step{shortName(page) + " odds " + rowName(kind, value) + " behind " + groupsText(groups),
              {}};
    addOdds(step, distribution, countAsDice(readCount(caption)));
    addOddsTexts(step, pages, session, page, kind, sides);
    return step;
}

// Dice behind a row whose total lies near one of the boundaries between the odds methods.
std::vector<DiceGroup> boundaryGroups(ScriptRandom &script)
{
    static constexpr std::array<std::uint64_t, 2> kBoundaries{RowDistribution::kExactDice,
                                                              RowDistribution::kExactBinomialDice};
    const std::uint64_t boundary = kBoundaries[script.chance(80) ? 0 : 1];
    const std::uint64_t total = boundary + static_cast<std::uint64_t>(script.between(0, 2)) - 1;
    const int sides = script.between(kFewestSides, DiceEngine::kFaceCount);
    const auto rerolled = [&] {
        return script.chance(50) ? std::uint16_t{0}
                                 : static_cast<std::uint16_t>(script.between(1, (1 << sides) - 1));
    };
    if (boundary == RowDistribution::kExactBinomialDice || script.chance(30))
        return {{sides, rerolled(), total}};
    // Several kinds: other sides or other rerolled faces, splitting the same total.
    const int parts = script.between(2, 4);
    std::vector<DiceGroup> groups;
    std::uint64_t left = total;
    for (int part = 0; part < parts; ++part) {
        const std::uint64_t dice =
            part + 1 == parts ? left : left / static_cast<std::uint64_t>(script.between(2, 5));
        left -= dice;
        groups.push_back(
            {script.chance(50) ? sides : script.between(kFewestSides, DiceEngine::kFaceCount),
             rerolled(), dice});
    }
    return groups;
}

Step oddsStep(ScriptRandom &script)
{
    const std::vector<DiceGroup> groups = boundaryGroups(script);
    const RowKind kind = script.chance(50) ? RowKind::Face : RowKind::AtLeast;
    const int value = script.between(kind == RowKind::Face ? 1 : 2, DiceEngine::kFaceCount);
    const RowDistribution distribution(groups, kind, value);
    // A count near the expected one, or at either end.
    const int where = script.between(0, 3);
    std::uint64_t count = static_cast<std::uint64_t>(distribution.expected());
    if (where == 0)
        count = 0;
    else if (where == 1)
        count = distribution.dice();
    Step step{"odds " + rowName(kind, value) + " behind " + groupsText(groups), {}};
    addOdds(step, distribution, count);
    return step;
}

void print(Trace &trace, int number, const Step &step)
{
    trace.line("step " + std::to_string(number) + ": " + step.command);
    for (const std::string &figure : step.figures)
        trace.line(figure);
}

std::string copiedPage(TextPages &pages, Page page)
{
    std::vector<std::string> faces, atLeast;
    for (int i = 0; i < DiceEngine::kFaceCount; ++i)
        faces.push_back(pages.faceRow(page).caption(i));
    for (int i = 0; i < DiceEngine::kThresholdCount; ++i)
        atLeast.push_back(pages.atLeastRow(page).caption(i));
    return pageText(pages.frame(page), faces, atLeast, pages.counter(page));
}

// The script's fields hold no comma, quote or semicolon, so the semicolon variant is the comma
// one with its separators swapped.
std::string commaFieldsWithSemicolons(std::string text)
{
    for (char &c : text) {
        if (c == ',')
            c = ';';
    }
    return text;
}

// A line of standard input without its end; false at the end of the input.
bool readLine(std::string &line)
{
    line.clear();
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return c != EOF || !line.empty();
}

std::vector<std::string> wordsOf(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while ((start = line.find_first_not_of(" \t", start)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.emplace_back(line.substr(start, end - start));
        start = end;
    }
    return words;
}

// A whole number in first..last, or nothing.
template <typename Number>
std::optional<Number> numberIn(std::string_view word, Number first, Number last)
{
    Number value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size() || value < first || value > last)
        return std::nullopt;
    return value;
}

std::optional<Page> pageNamed(std::string_view word)
{
    if (word == "hit")
        return Page::Hit;
    if (word == "damage")
        return Page::Damage;
    return std::nullopt;
}

// Of the snapshot's entries, what the window shows: the counts, frames, counters and tool tips.
bool isCaption(std::string_view name)
{
    return name.find(".face") != std::string_view::npos ||
           name.find(".atLeast") != std::string_view::npos || name.ends_with(".frame") ||
           name.ends_with(".counter") || name.starts_with("toolTip");
}

// One command on the pages; its answer to print below the captions, or why it was refused.
struct Answer
{
    std::optional<std::string> refusal; // of a follow-up roll: its text or "-"
    std::optional<std::string> error;
};

Answer runCommand(const std::vector<std::string> &words, DiceEngine &engine)
{
    const std::size_t count = words.size();
    const std::string &name = count > 0 ? words[0] : std::string();
    if ((name == "hitRoll" || name == "followUp") && count == 4 &&
        (words[3] == "new" || words[3] == "add")) {
        const bool newCount = words[3] == "new";
        const std::optional<int> sides = numberIn(words[2], kFewestSides, DiceEngine::kFaceCount);
        if (name == "hitRoll") {
            const std::optional<int> dice = numberIn(words[1], 1, kMostDice);
            if (!dice || !sides)
                return {{}, "hitRoll: dice 1..200, sides 2..10"};
            engine.hitRoll(*dice, *sides, newCount);
            return {};
        }
        const std::optional<int> threshold = numberIn(words[1], 2, DiceEngine::kFaceCount);
        if (!threshold || !sides)
            return {{}, "followUp: threshold 2..10, sides 2..10"};
        return {engine.followUpRoll(*threshold - 2, *sides, newCount).value_or("-"), {}};
    }
    const std::optional<Page> page = count >= 2 ? pageNamed(words[1]) : std::nullopt;
    if ((name == "clear" || name == "reset") && count == 2 && page) {
        if (name == "clear")
            engine.clearCounts(*page);
        else
            engine.resetRollCounter(*page);
        return {};
    }
    if ((name == "rerollFace" || name == "rerollBelow") && count == 3 && page) {
        const bool face = name == "rerollFace";
        const std::optional<int> value =
            numberIn(words[2], face ? 1 : 2, DiceEngine::kFaceCount + (face ? 0 : 1));
        if (!value)
            return {{}, name + ": face 1..10, threshold 2..11"};
        if (face)
            engine.rerollFace(*page, *value);
        else
            engine.rerollBelow(*page, *value);
        return {};
    }
    return {{}, "unknown command: " + std::string(name)};
}

// The captions a session of the web edition shows after each command, for its browser tests:
// from standard input `seed <u64>` and `time <h> <m> <s>` (a clock fixed there), then one
// command a line (hitRoll <dice> <sides> new|add, followUp <threshold> <sides> new|add,
// rerollFace hit|damage <face>, rerollBelow hit|damage <threshold>, clear hit|damage,
// reset hit|damage). After each: "hit.face1 = 9" and so on, both pages' frame and counter, the
// follow-up tool tips, a follow-up's "refusal = <text>|-", then "---". A refused line prints
// "error = <why>" and "---" and changes nothing.
int runCommands()
{
    std::uint64_t seed = 0;
    FixedClock clock;
    std::optional<TextPages> pages;
    std::string line;
    while (readLine(line)) {
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty())
            continue;
        Answer answer;
        if (words[0] == "seed" && words.size() == 2 && !pages) {
            const auto value = numberIn<std::uint64_t>(words[1], 0, UINT64_MAX);
            if (value) {
                seed = *value;
                continue;
            }
            answer.error = "seed: a whole number below 2^64, before the first command";
        } else if (words[0] == "time" && words.size() == 4) {
            const auto hour = numberIn(words[1], 0, kHoursPerDay - 1);
            const auto minute = numberIn(words[2], 0, kSecondsPerMinute - 1);
            const auto second = numberIn(words[3], 0, kSecondsPerMinute - 1);
            if (hour && minute && second) {
                clock.set({*minute, *second, *hour});
                continue;
            }
            answer.error = "time: hour 0..23, minute 0..59, second 0..59";
        } else {
            if (!pages)
                pages.emplace(clock, seed);
            answer = runCommand(words, pages->engine());
        }
        std::string out;
        if (answer.error) {
            out = "error = " + *answer.error + "\n";
        } else {
            for (const auto &[name, value] : snapshot(*pages)) {
                if (isCaption(name))
                    out += name + " = " + value + "\n";
            }
            if (answer.refusal)
                out += "refusal = " + *answer.refusal + "\n";
        }
        out += "---\n";
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
#if defined(_WIN32)
    // Without it Windows writes every line end as CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 1 && std::string_view(argv[1]) == "--commands")
        return runCommands();
    const bool summaryOnly = argc > 1 && std::string_view(argv[1]) == "--summary";
    Trace trace(summaryOnly);
    ScriptRandom script(kScriptSeed);
    ScriptedClock clock;
    TextPages pages(clock, kStartSeed);
    StatePrinter state;
    Session session(clock, pages);

    trace.line("start seed " + countText(kStartSeed));
    state.print(trace, pages, true);
    int steps = 0;
    for (int i = 1; i <= kPageSteps; ++i) {
        ++steps;
        print(trace, steps, pageStep(script, pages, session));
        printNewEvents(trace, session);
        const bool everything = i % kFullStateEvery == 0;
        state.print(trace, pages, everything);
        if (everything) {
            for (const Page page : {Page::Hit, Page::Damage})
                trace.line("  " + shortName(page) +
                           ".copied = " + escaped(copiedPage(pages, page)));
        }
    }
    for (int i = 1; i <= kOddsSteps; ++i) {
        ++steps;
        print(trace, steps, oddsStep(script));
    }
    // The log as saved: the comma variant in full, the semicolon one by its differences.
    const std::string comma = session.log.csv(CsvSeparator::Comma);
    trace.line("csv " + countText(static_cast<std::uint64_t>(comma.size())) + " bytes");
    std::size_t start = 0;
    while (start < comma.size()) {
        const std::size_t end = comma.find('\n', start);
        trace.line("  " + escaped(comma.substr(start, end - start + 1)));
        start = end == std::string::npos ? comma.size() : end + 1;
    }
    std::string semicolon = session.log.csv(CsvSeparator::Semicolon);
    trace.line("csv semicolon " + countText(static_cast<std::uint64_t>(semicolon.size())) +
               " bytes, the comma variant's fields: " +
               (semicolon == commaFieldsWithSemicolons(comma) ? "yes" : "no"));
    trace.summary("golden trace: " + std::to_string(steps) + " steps, " +
                  std::to_string(trace.lines() + 1) + " lines");
    return 0;
}

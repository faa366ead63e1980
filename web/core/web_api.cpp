// SPDX-License-Identifier: GPL-3.0-or-later
// The core for the web edition: sessions by handle, numbers in, texts out. Every value is
// checked here before the engine sees it; a refused call returns its status and leaves a text
// for talvero_take_error(). Texts come back through one buffer that JavaScript copies at once:
// records end with RS (0x1E), their fields are split by US (0x1F).
#include "engine/clock.h"
#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/odds.h"
#include "engine/odds_text.h"
#include "engine/page_odds.h"
#include "engine/page_text.h"
#include "engine/roll_log.h"
#include "engine/text_pages.h"
#include "engine/window_words.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace talvero;

namespace {

enum Status : int
{
    kOk = 0,
    kOutOfRange = 1, // RangeError in JavaScript
    kGone = 2,       // a handle freed or never made: TypeError
};

constexpr char kUnit = '\x1f';
constexpr char kRecord = '\x1e';
constexpr int kSecondsPerDay = 86'400;
// Whole numbers above 2^53 do not survive the trip through a JavaScript number.
constexpr double kLargestWhole = 9'007'199'254'740'992.0;

std::string text;
std::array<double, 8> numbers{};
std::string error;

void record(const std::vector<std::string> &fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += kUnit;
        text += fields[i];
    }
    text += kRecord;
}

int refuse(Status status, const std::string &why)
{
    error = why;
    return status;
}

int outOfRange(const char *what, double value, int first, int last)
{
    std::string shown = std::isfinite(value) ? countText(std::fabs(value)) : std::string("?");
    if (value < 0)
        shown.insert(0, "-");
    return refuse(kOutOfRange, std::string(what) + " " + shown + " liegt nicht zwischen " +
                                   std::to_string(first) + " und " + std::to_string(last) + ".");
}

bool within(int value, int first, int last)
{
    return value >= first && value <= last;
}

} // namespace

// The time of day from JavaScript, read anew at every call: seconds since midnight, or -1.
EM_JS(int, talvero_js_now, (int session), {
    try {
        return Module['talveroNow'](session);
    } catch (e) {
        return -1;
    }
});

namespace {

// A clock whose every read asks the page; a bad answer keeps the time it read last.
class ScriptClock final : public Clock
{
public:
    explicit ScriptClock(int session)
        : session_(session)
    {}
    TimeOfDay now() override
    {
        const int seconds = talvero_js_now(session_);
        if (seconds >= 0 && seconds < kSecondsPerDay)
            last_ = {seconds / 60 % 60, seconds % 60, seconds / 3600};
        return last_;
    }

private:
    int session_;
    TimeOfDay last_;
};

// What the window keeps beside the engine: the log with each page's counting mode, the
// threshold the odds' sentence speaks of, and the at-least odds a screen reader hears.
struct Session
{
    Session(int handle, std::uint64_t seed)
        : clock(handle)
        , pages(clock, seed)
    {
        pages.engine().setListener([this](const RollEvent &event) {
            log.add({clock.now(), event, newCount[static_cast<std::size_t>(event.page)]});
            sentence.rolled(event);
        });
    }

    // The at-least rows' odds, worked out again only when the dice behind the page changed.
    const std::vector<RowDistribution> &atLeastOdds(Page page)
    {
        const auto slot = static_cast<std::size_t>(page);
        std::vector<DiceGroup> dice = pages.engine().diceBehind(page);
        if (!described[slot] || describedDice[slot] != dice) {
            described[slot].emplace();
            for (int threshold = 2; threshold <= kFaceCount; ++threshold)
                described[slot]->emplace_back(dice, RowKind::AtLeast, threshold);
            describedDice[slot] = std::move(dice);
        }
        return *described[slot];
    }

    ScriptClock clock;
    TextPages pages;
    RollLog log;
    SentenceThreshold sentence;
    std::array<bool, 2> newCount{false, false};
    std::array<std::vector<DiceGroup>, 2> describedDice;
    std::array<std::optional<std::vector<RowDistribution>>, 2> described;
};

std::map<int, std::unique_ptr<Session>> sessions;
std::map<int, std::unique_ptr<RowDistribution>> distributions;
std::vector<DiceGroup> groups;
int lastHandle = 0;

// The call's session and page, or why not; clears the last answer.
int open(int handle, Session *&session)
{
    text.clear();
    numbers.fill(0.0);
    const auto found = sessions.find(handle);
    if (found == sessions.end())
        return refuse(kGone, "Diese Sitzung ist geschlossen.");
    session = found->second.get();
    return kOk;
}

int open(int handle, int page, Session *&session)
{
    if (const int status = open(handle, session))
        return status;
    if (!within(page, 0, 1))
        return outOfRange("Seite", page, 0, 1);
    return kOk;
}

Page pageOf(int page)
{
    return page == 0 ? Page::Hit : Page::Damage;
}

std::vector<std::string> captions(const CountRow &row)
{
    std::vector<std::string> all;
    for (int i = 0; i < row.size(); ++i)
        all.push_back(row.caption(i));
    return all;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char *talvero_text()
{
    return text.data();
}

EMSCRIPTEN_KEEPALIVE int talvero_text_size()
{
    return static_cast<int>(text.size());
}

EMSCRIPTEN_KEEPALIVE double talvero_number(int index)
{
    return within(index, 0, static_cast<int>(numbers.size()) - 1)
               ? numbers[static_cast<std::size_t>(index)]
               : 0.0;
}

EMSCRIPTEN_KEEPALIVE void talvero_take_error()
{
    text = error;
}

EMSCRIPTEN_KEEPALIVE void talvero_words()
{
    text.clear();
    for (const WindowWord &word : windowWords())
        record({std::string(word.key), std::string(word.text)});
}

EMSCRIPTEN_KEEPALIVE void talvero_limits()
{
    text.clear();
    const DiceLimits &l = kDiceLimits;
    for (const auto &[key, value] :
         std::vector<std::pair<std::string, int>>{{"fewestDice", l.fewestDice},
                                                  {"mostDice", l.mostDice},
                                                  {"fewestSides", l.fewestSides},
                                                  {"mostSides", l.mostSides},
                                                  {"defaultDice", l.defaultDice},
                                                  {"defaultSides", l.defaultSides},
                                                  {"defaultAddHits", l.defaultAddHits},
                                                  {"defaultAddDamage", l.defaultAddDamage}})
        record({key, std::to_string(value)});
}

EMSCRIPTEN_KEEPALIVE int talvero_dice_label(int sides)
{
    text.clear();
    if (!within(sides, kDiceLimits.fewestSides, kDiceLimits.mostSides))
        return outOfRange("Seitenzahl", sides, kDiceLimits.fewestSides, kDiceLimits.mostSides);
    text = diceLabel(sides);
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_page_name(int page)
{
    text.clear();
    if (!within(page, 0, 1))
        return outOfRange("Seite", page, 0, 1);
    text = pageName(pageOf(page));
    return kOk;
}

// The seed in two halves, as JavaScript numbers hold 53 bits at most.
EMSCRIPTEN_KEEPALIVE int talvero_session_new(std::uint32_t seedLow, std::uint32_t seedHigh)
{
    const int handle = ++lastHandle;
    sessions[handle] = std::make_unique<Session>(handle, (std::uint64_t{seedHigh} << 32) | seedLow);
    return handle;
}

EMSCRIPTEN_KEEPALIVE int talvero_session_free(int handle)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    sessions.erase(handle);
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_set_new_count(int handle, int page, int newCount)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    session->newCount[static_cast<std::size_t>(page)] = newCount != 0;
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_hit_roll(int handle, int dice, int sides, int newCount)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    if (!within(dice, kDiceLimits.fewestDice, kDiceLimits.mostDice))
        return outOfRange("Würfelanzahl", dice, kDiceLimits.fewestDice, kDiceLimits.mostDice);
    if (!within(sides, kDiceLimits.fewestSides, kDiceLimits.mostSides))
        return outOfRange("Seitenzahl", sides, kDiceLimits.fewestSides, kDiceLimits.mostSides);
    session->newCount[0] = newCount != 0;
    session->pages.engine().hitRoll(dice, sides, newCount != 0);
    return kOk;
}

// The refusal text when the hit page has no hits at `threshold`, else nothing.
EMSCRIPTEN_KEEPALIVE int talvero_follow_up(int handle, int threshold, int sides, int newCount)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    if (!within(threshold, 2, kFaceCount))
        return outOfRange("Schwelle", threshold, 2, kFaceCount);
    if (!within(sides, kDiceLimits.fewestSides, kDiceLimits.mostSides))
        return outOfRange("Seitenzahl", sides, kDiceLimits.fewestSides, kDiceLimits.mostSides);
    session->newCount[1] = newCount != 0;
    const std::optional<std::string> refusal =
        session->pages.engine().followUpRoll(threshold - 2, sides, newCount != 0);
    text = refusal.value_or("");
    numbers[0] = refusal ? 1.0 : 0.0;
    return kOk;
}

// Any index, as the engine takes it: out of range gives an empty text.
EMSCRIPTEN_KEEPALIVE int talvero_follow_up_tool_tip(int handle, int index)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    text = session->pages.engine().followUpToolTip(index);
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_clear_counts(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    session->pages.engine().clearCounts(pageOf(page));
    session->sentence.cleared(pageOf(page));
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_reset_counter(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    session->pages.engine().resetRollCounter(pageOf(page));
    return kOk;
}

// what: 0 rerollFace, 1 rerollBelow, 2 rerollableFace, 3 rerollableBelow. A face is 1..10; a
// threshold 2..11, the last one taking every die of a ten-sided roll.
EMSCRIPTEN_KEEPALIVE int talvero_reroll(int handle, int page, int what, int value)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    const bool below = what % 2 == 1;
    const int first = below ? 2 : 1;
    const int last = below ? kFaceCount + 1 : kFaceCount;
    if (!within(value, first, last))
        return outOfRange(below ? "Schwelle" : "Augenzahl", value, first, last);
    DiceEngine &engine = session->pages.engine();
    const Page p = pageOf(page);
    std::uint64_t dice = 0;
    switch (what) {
    case 0:
        dice = engine.rerollFace(p, value);
        break;
    case 1:
        dice = engine.rerollBelow(p, value);
        break;
    case 2:
        dice = engine.rerollableFace(p, value);
        break;
    default:
        dice = engine.rerollableBelow(p, value);
        break;
    }
    numbers[0] = static_cast<double>(dice);
    return kOk;
}

// 0 before the page's first roll and after its counts were cleared.
EMSCRIPTEN_KEEPALIVE int talvero_last_roll_sides(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    numbers[0] = session->pages.engine().lastRollSides(pageOf(page)).value_or(0);
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_dice_behind(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    for (const DiceGroup &group : session->pages.engine().diceBehind(pageOf(page)))
        record({std::to_string(group.sides), std::to_string(group.rerolledFaces),
                countText(group.dice)});
    return kOk;
}

// Name, frame, counter, last roll's sides ("" for none), announcement; then per face heading,
// caption, name; then per threshold heading, caption, name, odds description.
EMSCRIPTEN_KEEPALIVE int talvero_view(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    const Page p = pageOf(page);
    TextPages &pages = session->pages;
    const std::optional<int> sides = pages.engine().lastRollSides(p);
    const std::vector<std::string> faces = captions(pages.faceRow(p));
    const std::vector<std::string> atLeast = captions(pages.atLeastRow(p));
    record({pageName(p), pages.frame(p), pages.counter(p), sides ? std::to_string(*sides) : "",
            pageAnnouncement(pages.frame(p), pages.counter(p), atLeast, sides.value_or(0))});
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const std::string heading = faceHeadingText(static_cast<int>(i));
        record({heading, faces[i], headedCaption(heading, faces[i])});
    }
    for (std::size_t i = 0; i < atLeast.size(); ++i) {
        const std::string heading = thresholdHeadingText(static_cast<int>(i));
        record({heading, atLeast[i], headedCaption(heading, atLeast[i])});
    }
    return kOk;
}

// Per at-least count: what a screen reader hears after its name. Apart from the view, as the
// odds take longer than the captions and need not hold up the counts' paint.
EMSCRIPTEN_KEEPALIVE int talvero_describe(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    const Page p = pageOf(page);
    const bool anyDice = !session->pages.engine().diceBehind(p).empty();
    const PageCounts counts = session->pages.engine().counts(p);
    for (std::size_t i = 0; i < counts.atLeast.size(); ++i)
        record({anyDice ? oddsDescription(oddsOf(session->atLeastOdds(p)[i], counts.atLeast[i]))
                        : std::string()});
    return kOk;
}

// Per follow-up button: threshold, heading, tool tip, name.
EMSCRIPTEN_KEEPALIVE int talvero_follow_ups(int handle)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    for (int i = 0; i < DiceEngine::kThresholdCount; ++i) {
        const std::string heading = thresholdHeadingText(i);
        const std::string toolTip = session->pages.engine().followUpToolTip(i);
        record({std::to_string(i + 2), heading, toolTip, headedCaption(heading, toolTip)});
    }
    return kOk;
}

// The context menu's rerolls, as the desktop builds them. focusKind 0: none, 1: a face count,
// 2: an at-least count, `value` its face or threshold. First a record whether the submenus are
// enabled, then entries: where ("first", "face", "fail"), kind, value, dice, text, enabled.
EMSCRIPTEN_KEEPALIVE int talvero_reroll_menu(int handle, int page, int focusKind, int value)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    if (!within(focusKind, 0, 2))
        return outOfRange("Zählerart", focusKind, 0, 2);
    const Page p = pageOf(page);
    const DiceEngine &engine = session->pages.engine();
    const int sides = engine.lastRollSides(p).value_or(0);
    record({sides > 0 ? "1" : "0"});
    const auto entry = [&](const char *where, bool face, int at) {
        const std::uint64_t dice =
            face ? engine.rerollableFace(p, at) : engine.rerollableBelow(p, at);
        record({where, face ? "face" : "atLeast", std::to_string(at), countText(dice),
                face ? rerollFaceText(dice, at) : rerollBelowText(dice, at), dice > 0 ? "1" : "0"});
    };
    // Only faces the last roll could show: below 7+ of six sides would throw every die again.
    if (focusKind == 1 && within(value, 1, sides))
        entry("first", true, value);
    else if (focusKind == 2 && within(value, 2, sides))
        entry("first", false, value);
    for (int face = 1; face <= sides; ++face)
        entry("face", true, face);
    for (int threshold = 2; threshold <= sides; ++threshold)
        entry("fail", false, threshold);
    return kOk;
}

// The odds window of a page: the sentence, the description of its row ("" where the table leaves
// it out) and that row's index or ""; then per table (at-least first) a record "table", kind,
// caption, six column titles, and per row "row", heading, six written and six spoken cells.
EMSCRIPTEN_KEEPALIVE int talvero_odds(int handle, int page, int chosenSides)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    if (!within(chosenSides, kDiceLimits.fewestSides, kDiceLimits.mostSides))
        return outOfRange("Seitenzahl", chosenSides, kDiceLimits.fewestSides,
                          kDiceLimits.mostSides);
    const Page p = pageOf(page);
    const DiceEngine &engine = session->pages.engine();
    const std::vector<DiceGroup> dice = engine.diceBehind(p);
    const PageCounts counts = engine.counts(p);
    RowOddsTable atLeast(RowKind::AtLeast);
    RowOddsTable faces(RowKind::Face);
    atLeast.update(dice, counts.atLeast, chosenSides);
    faces.update(dice, counts.faces, chosenSides);
    const int threshold =
        session->sentence.threshold(p, engine.lastRollSides(p).value_or(chosenSides));
    const std::optional<int> row = atLeast.rowOf(threshold);
    record({pageSentence(atLeast, counts.atLeast, dice, threshold),
            row ? oddsDescription(atLeast.odds(*row)) : "", row ? std::to_string(*row) : ""});
    for (const RowOddsTable *table : {&atLeast, &faces}) {
        std::vector<std::string> head{"table", table == &atLeast ? "atLeast" : "face",
                                      oddsTableCaption(table->kind(), p)};
        for (int column = 0; column < kOddsColumnCount; ++column)
            head.push_back(oddsColumnTitle(static_cast<OddsColumn>(column)));
        record(head);
        for (int r = 0; r < table->size(); ++r) {
            std::vector<std::string> cells{"row", table->heading(r)};
            for (const Voice voice : {Voice::Written, Voice::Spoken}) {
                for (int column = 0; column < kOddsColumnCount; ++column)
                    cells.push_back(table->cellText(r, static_cast<OddsColumn>(column), voice));
            }
            record(cells);
        }
    }
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_log_size(int handle)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    numbers[0] = static_cast<double>(session->log.size());
    return kOk;
}

// row -1: the column titles.
EMSCRIPTEN_KEEPALIVE int talvero_log_row(int handle, int row)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    const int rows = static_cast<int>(session->log.size());
    if (!within(row, -1, rows - 1))
        return outOfRange("Zeile", row, 0, rows - 1);
    std::vector<std::string> cells;
    for (int column = 0; column < kLogColumnCount; ++column)
        cells.push_back(
            row < 0 ? RollLog::columnTitle(column)
                    : RollLog::cellText(session->log.entry(static_cast<std::size_t>(row)), column));
    record(cells);
    return kOk;
}

// semicolons 0: commas.
EMSCRIPTEN_KEEPALIVE int talvero_csv(int handle, int semicolons)
{
    Session *session = nullptr;
    if (const int status = open(handle, session))
        return status;
    text = session->log.csv(semicolons ? CsvSeparator::Semicolon : CsvSeparator::Comma);
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_page_text(int handle, int page)
{
    Session *session = nullptr;
    if (const int status = open(handle, page, session))
        return status;
    const Page p = pageOf(page);
    TextPages &pages = session->pages;
    text = pageText(pages.frame(p), captions(pages.faceRow(p)), captions(pages.atLeastRow(p)),
                    pages.counter(p));
    return kOk;
}

// The dice behind a distribution, one group at a time, then the distribution.
EMSCRIPTEN_KEEPALIVE void talvero_groups_clear()
{
    groups.clear();
}

EMSCRIPTEN_KEEPALIVE int talvero_groups_add(int sides, int rerolledFaces, double dice)
{
    text.clear();
    if (!within(sides, 1, kFaceCount))
        return outOfRange("Seitenzahl", sides, 1, kFaceCount);
    if (!within(rerolledFaces, 0, (1 << kFaceCount) - 1))
        return outOfRange("Neu gewürfelte Augenzahlen", rerolledFaces, 0, (1 << kFaceCount) - 1);
    if (!(dice >= 0.0 && dice <= kLargestWhole) || std::floor(dice) != dice)
        return refuse(kOutOfRange, "Die Würfelanzahl ist keine ganze Zahl ab 0.");
    groups.push_back(
        {sides, static_cast<std::uint16_t>(rerolledFaces), static_cast<std::uint64_t>(dice)});
    return kOk;
}

// kind 0: a face row (value 1..10), 1: an at-least row (2..10). Numbers: handle, dice,
// expected, usual low, usual high, exact.
EMSCRIPTEN_KEEPALIVE int talvero_distribution_new(int kind, int value)
{
    text.clear();
    if (!within(kind, 0, 1))
        return outOfRange("Zeilenart", kind, 0, 1);
    if (!within(value, kind + 1, kFaceCount))
        return outOfRange(kind ? "Schwelle" : "Augenzahl", value, kind + 1, kFaceCount);
    const int handle = ++lastHandle;
    auto &made = distributions[handle] =
        std::make_unique<RowDistribution>(groups, kind ? RowKind::AtLeast : RowKind::Face, value);
    const RowOdds odds = oddsOf(*made, 0);
    numbers = {static_cast<double>(handle),
               static_cast<double>(odds.dice),
               odds.expected,
               static_cast<double>(odds.usualLow),
               static_cast<double>(odds.usualHigh),
               odds.exact ? 1.0 : 0.0,
               0.0,
               0.0};
    return kOk;
}

// what 0: P(X <= count), 1: P(X >= count), 2: the row's odds at that count (dice, expected,
// usual low, usual high, at-least share, at-most share, exact).
EMSCRIPTEN_KEEPALIVE int talvero_distribution_at(int handle, int what, double count)
{
    text.clear();
    const auto found = distributions.find(handle);
    if (found == distributions.end())
        return refuse(kGone, "Diese Verteilung ist freigegeben.");
    if (!(count >= 0.0 && count <= kLargestWhole) || std::floor(count) != count)
        return refuse(kOutOfRange, "Die Anzahl ist keine ganze Zahl ab 0.");
    const RowDistribution &distribution = *found->second;
    const auto k = static_cast<std::uint64_t>(count);
    if (what == 0) {
        numbers[0] = distribution.atMost(k);
    } else if (what == 1) {
        numbers[0] = distribution.atLeast(k);
    } else {
        const RowOdds odds = oddsOf(distribution, k);
        numbers = {static_cast<double>(odds.dice),
                   odds.expected,
                   static_cast<double>(odds.usualLow),
                   static_cast<double>(odds.usualHigh),
                   odds.atLeastShare,
                   odds.atMostShare,
                   odds.exact ? 1.0 : 0.0,
                   0.0};
    }
    return kOk;
}

EMSCRIPTEN_KEEPALIVE int talvero_distribution_free(int handle)
{
    text.clear();
    if (distributions.erase(handle) == 0)
        return refuse(kGone, "Diese Verteilung ist freigegeben.");
    return kOk;
}

} // extern "C"

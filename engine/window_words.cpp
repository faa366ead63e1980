// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/window_words.h"

#include "engine/page_text.h"

#include <algorithm>
#include <array>

namespace talvero {

namespace {

constexpr std::array kWords{
    WindowWord{"roll", "Würfeln"},
    WindowWord{"add", "Addition"},
    WindowWord{"newCount", "neue Zählung"},
    WindowWord{"clearCounts", "Zählung löschen"},
    WindowWord{"resetCounter", "Wurfzähler zurücksetzen"},
    WindowWord{"dice", "Würfelanzahl"},
    WindowWord{"sides", "Anzahl der Seiten"},
    WindowWord{"sidesLabel", "Anzahl der Seiten pro Würfel"},
    WindowWord{"followUpLabel", "Weiterwürfel mit..."},
    WindowWord{"damageRoll", "(Schadenswurf)"},
    WindowWord{"atLeastFrame", "Sortierung"},
    WindowWord{"faceFrame", "Wurfergebnis"},
    WindowWord{"commands", "Befehle"},
    WindowWord{"rerollFaces", "Augenzahl neu würfeln"},
    WindowWord{"rerollFails", "Fehlwürfe neu würfeln"},
    WindowWord{"odds", "Chancen"},
    WindowWord{"log", "Verlauf"},
    WindowWord{"copyPage", "Seite kopieren"},
    WindowWord{"saveCsv", "Als CSV speichern"},
    WindowWord{"csvComma", "CSV-Dateien"},
    WindowWord{"csvSemicolon", "CSV mit Semikolon, für Tabellenkalkulation auf Deutsch"},
    WindowWord{"csvFileName", "Verlauf.csv"},
    WindowWord{"close", "Schließen"},
    WindowWord{"ok", "OK"},
    WindowWord{"fewerDice", "Ein Würfel weniger"},
    WindowWord{"moreDice", "Ein Würfel mehr"},
    WindowWord{"fewerSides", "Eine Seite weniger"},
    WindowWord{"moreSides", "Eine Seite mehr"},
    WindowWord{"pageCopied", "Seite kopiert"},
    WindowWord{"copyFailed", "Die Seite konnte nicht kopiert werden."},
    WindowWord{"logRows", "Würfe"},
};

} // namespace

std::span<const WindowWord> windowWords()
{
    return kWords;
}

std::string diceLabel(int sides)
{
    return "Würfelanzahl mit " + std::to_string(sides) + " Seiten";
}

std::string headedCaption(std::string_view heading, std::string_view caption)
{
    std::string text(heading);
    text += ": ";
    text += caption;
    return text;
}

std::string oddsTableCaption(RowKind kind, Page page)
{
    return (kind == RowKind::AtLeast ? "Sortierung, " : "Wurfergebnis, ") + pageName(page);
}

std::string pageAnnouncement(std::string_view frame, std::string_view counter,
                             std::span<const std::string> atLeastCaptions, int sides)
{
    std::string text(frame);
    text += ", ";
    text += counter;
    text += '.';
    // Threshold index k is k + 2+; beyond the roll's sides every count is 0 and says nothing.
    const int shown = std::min(sides - 1, static_cast<int>(atLeastCaptions.size()));
    for (int k = 0; k < shown; ++k) {
        text += k == 0 ? " " : ", ";
        text +=
            headedCaption(thresholdHeadingText(k), atLeastCaptions[static_cast<std::size_t>(k)]);
    }
    if (shown > 0)
        text += '.';
    return text;
}

} // namespace talvero

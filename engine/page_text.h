// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/dice_engine.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace talvero {

// The headings of the rows, counted from 0: "1er" to "10er", "2+" to "10+". Whatever names a
// face or a threshold (the window, the odds, the roll log, the page copied) uses them.
std::string faceHeadingText(int index);
std::string thresholdHeadingText(int index);
// A page's name as its tab shows it, without the tab's blank: "TREFFERWÜRFE", "SCHADENSWÜRFE".
std::string pageName(Page page);

// The context menu's rerolls: "14 × 1er neu würfeln", "23 unter 4+ neu würfeln".
std::string rerollFaceText(std::uint64_t dice, int face);
std::string rerollBelowText(std::uint64_t dice, int threshold);

// A page as text with tabs, each line ended by "\n": its frame's caption, the face headings and
// counts, the threshold headings and counts, its roll counter. Counts as their captions show them.
std::string pageText(std::string_view frame, std::span<const std::string> faceCaptions,
                     std::span<const std::string> atLeastCaptions, std::string_view counter);

} // namespace talvero

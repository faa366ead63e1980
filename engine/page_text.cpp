// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/page_text.h"

namespace talvero {

namespace {

// Headings on one line and captions below them, tab-separated.
std::string headedRow(std::span<const std::string> captions, std::string (*heading)(int))
{
    std::string headings;
    std::string counts;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (i > 0) {
            headings += '\t';
            counts += '\t';
        }
        headings += heading(static_cast<int>(i));
        counts += captions[i];
    }
    return headings + '\n' + counts + '\n';
}

} // namespace

std::string faceHeadingText(int index)
{
    return std::to_string(index + 1) + "er";
}

std::string thresholdHeadingText(int index)
{
    return std::to_string(index + 2) + "+";
}

std::string pageName(Page page)
{
    return page == Page::Hit ? "TREFFERWÜRFE" : "SCHADENSWÜRFE";
}

std::string rerollFaceText(std::uint64_t dice, int face)
{
    return std::to_string(dice) + " × " + std::to_string(face) + "er neu würfeln";
}

std::string rerollBelowText(std::uint64_t dice, int threshold)
{
    return std::to_string(dice) + " unter " + std::to_string(threshold) + "+ neu würfeln";
}

std::string pageText(std::string_view frame, std::span<const std::string> faceCaptions,
                     std::span<const std::string> atLeastCaptions, std::string_view counter)
{
    std::string text(frame);
    text += '\n';
    text += headedRow(faceCaptions, faceHeadingText);
    text += headedRow(atLeastCaptions, thresholdHeadingText);
    text += counter;
    text += '\n';
    return text;
}

} // namespace talvero

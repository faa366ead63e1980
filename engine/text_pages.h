// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/count_row.h"
#include "engine/dice_engine.h"

#include <array>
#include <string>
#include <vector>

namespace talvero {

// A row of captions kept as plain strings, in place of a row of the window's count labels.
class TextRow final : public CountRow
{
public:
    explicit TextRow(int size);
    int size() const override { return static_cast<int>(captions_.size()); }
    std::string caption(int index) const override;
    void setCaption(int index, std::string_view text) override;

private:
    std::vector<std::string> captions_;
};

// One caption kept as a plain string, in place of a frame or a roll-counter label.
class TextCaption final : public CaptionTarget
{
public:
    explicit TextCaption(std::string text)
        : text_(std::move(text))
    {}
    const std::string &text() const { return text_; }
    void setCaption(std::string_view text) override { text_.assign(text); }

private:
    std::string text_;
};

// Both pages' rows and captions as the window shows them when it is made, and the engine on
// them: the dice engine without a window, for tests, benchmarks and the fairness report.
class TextPages
{
public:
    TextPages(Clock &clock, std::uint64_t startSeed);
    TextPages(const TextPages &) = delete;
    TextPages &operator=(const TextPages &) = delete;

    DiceEngine &engine() { return engine_; }
    TextRow &faceRow(Page page) { return face_[index(page)]; }
    TextRow &atLeastRow(Page page) { return atLeast_[index(page)]; }
    const std::string &frame(Page page) const { return frame_[index(page)].text(); }
    const std::string &counter(Page page) const { return counter_[index(page)].text(); }

private:
    static std::size_t index(Page page) { return static_cast<std::size_t>(page); }

    std::array<TextRow, 2> face_{TextRow(DiceEngine::kFaceCount), TextRow(DiceEngine::kFaceCount)};
    std::array<TextRow, 2> atLeast_{TextRow(DiceEngine::kThresholdCount),
                                    TextRow(DiceEngine::kThresholdCount)};
    std::array<TextCaption, 2> frame_{TextCaption("Wurfergebnis"), TextCaption("Wurfergebnis")};
    std::array<TextCaption, 2> counter_{TextCaption("Wurf 0"), TextCaption("Wurf 0")};
    DiceEngine engine_;
};

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace talvero {

// The engine's view of a row of count labels: how many there are, and each one's caption.
// The window plugs its labels in; tests use plain rows of strings.
class CountRow
{
public:
    virtual ~CountRow() = default;
    virtual int size() const = 0;
    virtual std::string caption(int index) const = 0;
    virtual void setCaption(int index, std::string_view text) = 0;
};

// Something that shows one caption the engine writes (a result frame, a roll-counter label).
class CaptionTarget
{
public:
    virtual ~CaptionTarget() = default;
    virtual void setCaption(std::string_view text) = 0;
};

// The result display of one tab page.
struct PageRows
{
    CountRow &faceRow;          // element k counts the dice that showed k + 1
    CountRow &atLeastRow;       // element k counts the dice that showed k + 2 or more
    CaptionTarget &resultFrame; // frame around the face row: summary of the last roll
    CaptionTarget &counterLabel;
};

} // namespace talvero

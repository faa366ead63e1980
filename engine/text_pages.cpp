// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/text_pages.h"

namespace talvero {

TextRow::TextRow(int size)
    : captions_(static_cast<std::size_t>(size), std::string(1, '0'))
{}

std::string TextRow::caption(int index) const
{
    return captions_.at(static_cast<std::size_t>(index));
}

void TextRow::setCaption(int index, std::string_view text)
{
    captions_.at(static_cast<std::size_t>(index)).assign(text);
}

TextPages::TextPages(Clock &clock, std::uint64_t startSeed)
    : engine_({face_[0], atLeast_[0], frame_[0], counter_[0]},
              {face_[1], atLeast_[1], frame_[1], counter_[1]}, clock, startSeed)
{}

} // namespace talvero

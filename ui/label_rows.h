// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/count_row.h"
#include "ui/controls/count_label.h"

#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talvero {

// A row of the window's count labels, as the engine sees it.
class CountLabelRow final : public CountRow
{
public:
    explicit CountLabelRow(std::vector<CountLabel *> labels)
        : labels_(std::move(labels))
    {}
    int size() const override { return static_cast<int>(labels_.size()); }
    std::string caption(int index) const override
    {
        return labels_.at(static_cast<std::size_t>(index))->caption().toStdString();
    }
    void setCaption(int index, std::string_view text) override
    {
        labels_.at(static_cast<std::size_t>(index))
            ->setCaption(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

private:
    std::vector<CountLabel *> labels_;
};

// Any control with a caption (a frame, a label), as a target of the engine's texts.
template <class Control> class ControlCaption final : public CaptionTarget
{
public:
    explicit ControlCaption(Control *control)
        : control_(control)
    {}
    void setCaption(std::string_view text) override
    {
        control_->setCaption(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

private:
    Control *control_;
};

} // namespace talvero

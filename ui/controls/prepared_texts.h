// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

namespace talvero {

// Texts laid out for painting, kept for the next time they are shown: the counts and captions a
// roll writes come back again and again, and laying text out costs more than drawing it. Kept
// for one font and turn at a time, and a few hundred at most.
class PreparedTexts
{
public:
    // `text` laid out in `font`, turned by 90 degrees (reading bottom to top) or not.
    const QStaticText &get(const QString &text, const QFont &font, bool turned = false)
    {
        if (font != font_ || turned != turned_) {
            texts_.clear();
            font_ = font;
            turned_ = turned;
        }
        auto found = texts_.constFind(text);
        if (found != texts_.constEnd())
            return *found;
        if (texts_.size() >= kMostTexts)
            texts_.clear();
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText); // "&" shows as itself
        QTransform turn;
        if (turned)
            turn.rotate(-90);
        prepared.prepare(turn, font);
        return *texts_.insert(text, prepared);
    }

private:
    static constexpr qsizetype kMostTexts = 256;

    QHash<QString, QStaticText> texts_;
    QFont font_;
    bool turned_ = false;
};

} // namespace talvero

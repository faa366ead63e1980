// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/prepared_texts.h"
#include "ui/controls/twips_geometry.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>

namespace talvero {

// The label that shows a count: centred caption in a single-line border, "&" drawn as an
// ordinary character, blue and bold while the pointer is over it, and optionally turned by
// 90 degrees. Painted by hand and without layout work: a roll rewrites up to 19 of the 38.
class CountLabel final : public QWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit CountLabel(QWidget *parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);

    // The label's own font. The layout sets its size, the font choice its face, bold and italic.
    const QFont &labelFont() const { return font_; }
    void setLabelFont(const QFont &font);
    void setFontSize(float points);
    void setFontName(const QString &family);
    void setFontBold(bool bold);
    void setFontItalic(bool italic);

    void setBackColor(const QColor &color);

    // Draws the caption turned by 90 degrees (reading bottom to top), or normally.
    bool isVertical() const { return vertical_; }
    void setVertical(bool vertical);

    // The column heading ("3er", "5+"), offered to assistive technology as the description, and
    // what more it is to hear, worked out when it asks (the odds of the count, say).
    QString heading() const { return heading_; }
    void setHeading(const QString &heading) { heading_ = heading; }
    void setDescriber(std::function<QString()> describer) { describer_ = std::move(describer); }
    QString description() const { return describer_ ? heading_ + describer_() : heading_; }
    // Tells assistive technology, when one listens, that the description has changed.
    void descriptionChanged();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The font the caption is drawn in right now (bold while hovered).
    QFont paintFont() const;
    void setFontAttribute(void (QFont::*setter)(bool), bool (QFont::*getter)() const, bool value);
    QString caption_;
    QString heading_;
    std::function<QString()> describer_;
    QFont font_;
    QColor back_;
    bool vertical_ = false;
    bool hovered_ = false;

    // The captions laid out for the font and turn they were last painted with.
    PreparedTexts texts_;
};

} // namespace talvero

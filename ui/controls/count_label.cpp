// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/count_label.h"

#include "ui/controls/control_colors.h"
#include "ui/controls/outline.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QPainter>

namespace talvero {

CountLabel::CountLabel(QWidget *parent)
    : QWidget(parent)
    , TwipsGeometry(this)
    , caption_(QStringLiteral("0"))
    , back_(colors::countBack)
{
    // Every pixel is painted here; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CountLabel::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void CountLabel::descriptionChanged()
{
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void CountLabel::setFontSize(float points)
{
    if (!(points > 0) || static_cast<qreal>(points) == font_.pointSizeF())
        return;
    font_.setPointSizeF(static_cast<qreal>(points));
    update();
}

void CountLabel::setFontName(const QString &family)
{
    if (family.isEmpty() || family == font_.family())
        return;
    font_.setFamily(family);
    update();
}

void CountLabel::setFontBold(bool bold)
{
    setFontAttribute(&QFont::setBold, &QFont::bold, bold);
}

void CountLabel::setFontItalic(bool italic)
{
    setFontAttribute(&QFont::setItalic, &QFont::italic, italic);
}

void CountLabel::setFontAttribute(void (QFont::*setter)(bool), bool (QFont::*getter)() const,
                                  bool value)
{
    if ((font_.*getter)() == value)
        return;
    (font_.*setter)(value);
    update();
}

void CountLabel::setLabelFont(const QFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    update();
}

void CountLabel::setBackColor(const QColor &color)
{
    if (color == back_)
        return;
    back_ = color;
    update();
}

void CountLabel::setVertical(bool vertical)
{
    if (vertical == vertical_)
        return;
    vertical_ = vertical;
    update();
}

QFont CountLabel::paintFont() const
{
    if (!hovered_ || font_.bold())
        return font_;
    QFont bold = font_;
    bold.setBold(true);
    return bold;
}

QSize CountLabel::sizeHint() const
{
    return pixelRect(twipsRect()).size();
}

void CountLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area.adjusted(1, 1, -1, -1), back_);
    drawOutline(painter, area, colors::countBorder);

    QColor text = colors::countText;
    if (!isEnabled())
        text = colors::countDisabledText;
    else if (hovered_)
        text = colors::countHoverText;
    painter.setPen(text);
    const QFont font = paintFont();
    painter.setFont(font);

    // Turned captions read from bottom to top. Both are centred in the label.
    const QStaticText &caption = texts_.get(caption_, font, vertical_);
    const QSizeF size = caption.size();
    painter.translate(area.width() / 2.0, area.height() / 2.0);
    if (vertical_)
        painter.rotate(-90);
    painter.drawStaticText(QPointF(-size.width() / 2.0, -size.height() / 2.0), caption);
}

void CountLabel::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QWidget::enterEvent(event);
}

void CountLabel::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QWidget::leaveEvent(event);
}

void CountLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace talvero

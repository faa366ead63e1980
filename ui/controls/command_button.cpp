// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/command_button.h"

#include "ui/controls/outline.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace talvero {

namespace {

// Caption text of a disabled button, readable on both disabled backgrounds.
constexpr QColor kDisabledText{0x8C, 0x8C, 0x8C};

} // namespace

CommandButton::CommandButton(QWidget *parent)
    : QAbstractButton(parent)
    , TwipsGeometry(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CommandButton::setColors(const colors::ButtonColors &colors)
{
    if (colors == colors_)
        return;
    colors_ = colors;
    update();
}

void CommandButton::setFace(Face face)
{
    if (face == face_)
        return;
    face_ = face;
    update();
}

void CommandButton::setSymbol(Symbol symbol)
{
    if (symbol == symbol_)
        return;
    symbol_ = symbol;
    update();
}

QColor CommandButton::currentBackColor() const
{
    if (!isEnabled())
        return colors_.disabled;
    return isDown() ? colors_.pressed : colors_.back;
}

QColor CommandButton::currentTextColor() const
{
    if (!isEnabled())
        return kDisabledText;
    return hovered_ ? colors_.textHover : colors_.text;
}

QSize CommandButton::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    return text + QSize(16, 10);
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    paintFace(painter, area);

    if (symbol_ != Symbol::None) {
        paintSymbol(painter, area);
    } else {
        painter.setPen(currentTextColor());
        painter.setFont(font());
        const QRect textArea = isDown() ? area.translated(1, 1) : area;
        painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(3, 3, -3, -3);
        option.backgroundColor = currentBackColor();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CommandButton::paintFace(QPainter &painter, const QRect &area) const
{
    const QColor back = currentBackColor();
    switch (face_) {
    case Face::Raised: {
        painter.fillRect(area, back);
        const QColor light = back.lighter(160);
        const QColor dark = back.darker(200);
        if (isDown())
            drawBevel(painter, area, dark, light);
        else
            drawBevel(painter, area, light, dark);
        break;
    }
    case Face::Soft: {
        QLinearGradient gradient(area.topLeft(), area.bottomLeft());
        // The design's own colour halfway down, lighter above, darker below.
        gradient.setColorAt(0, back.lighter(104));
        gradient.setColorAt(0.5, back);
        gradient.setColorAt(1, back.darker(106));
        painter.fillRect(area, gradient);
        drawOutline(painter, area, back.darker(135));
        break;
    }
    case Face::Flat:
    case Face::Symbol:
        painter.fillRect(area, back);
        drawOutline(painter, area, back.darker(135));
        break;
    }
}

void CommandButton::paintSymbol(QPainter &painter, const QRect &area) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(area.width(), area.height()) * 0.55;
    const QRectF box(area.center().x() + 0.5 - side / 2, area.center().y() + 0.5 - side / 2, side,
                     side);
    QPen pen(currentTextColor(), std::max<qreal>(1.5, side / 7.0), Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    painter.setPen(pen);
    if (symbol_ == Symbol::ClearCounts) {
        // A cross: the counts are wiped.
        const QRectF cross = box.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
        return;
    }
    // A circular arrow: the roll counter winds back.
    QPainterPath arc;
    arc.arcMoveTo(box, 60);
    arc.arcTo(box, 60, 280);
    painter.drawPath(arc);
    const QPointF tip = arc.pointAtPercent(0.0);
    const qreal head = side * 0.32;
    QPainterPath arrow;
    arrow.moveTo(tip + QPointF(-head, -head * 0.15));
    arrow.lineTo(tip);
    arrow.lineTo(tip + QPointF(-head * 0.15, head));
    painter.drawPath(arrow);
}

void CommandButton::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    Q_EMIT pointerEntered();
    QAbstractButton::enterEvent(event);
}

void CommandButton::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    // Space is handled by QAbstractButton; Enter clicks as well.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace talvero

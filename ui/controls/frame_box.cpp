// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/frame_box.h"

#include "ui/controls/outline.h"

#include <QAccessible>
#include <QPainter>
#include <QtMath>

namespace talvero {

namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

} // namespace

FrameBox::FrameBox(QWidget *parent)
    : QWidget(parent)
    , TwipsGeometry(this)
{
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void FrameBox::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    // The caption line: the border under the old caption shows again, the new caption covers it.
    update(0, 0, width(), fontMetrics().height() + 1);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void FrameBox::setBorder(bool border)
{
    if (border == border_)
        return;
    border_ = border;
    update();
}

QRect FrameBox::captionRect(const QStaticText &text) const
{
    if (caption_.isEmpty())
        return {};
    return {kCaptionIndent - kCaptionPadding, 0, qCeil(text.size().width()) + 2 * kCaptionPadding,
            fontMetrics().height()};
}

void FrameBox::paintEvent(QPaintEvent *)
{
    if (!border_)
        return;
    QPainter painter(this);
    const QPalette &colors = palette();
    // An etched line: dark, with a light line below and right of it.
    const int top = fontMetrics().height() / 2;
    const QRect outer(0, top, width() - 1, height() - top - 1);
    drawOutline(painter, outer.translated(1, 1), colors.color(QPalette::Light));
    drawOutline(painter, outer, colors.color(QPalette::Mid));

    const QStaticText &text = texts_.get(caption_, font());
    const QRect caption = captionRect(text);
    if (caption.isEmpty())
        return;
    painter.fillRect(caption, colors.color(backgroundRole()));
    painter.setPen(
        colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawStaticText(QPointF(kCaptionIndent, (caption.height() - text.size().height()) / 2.0),
                           text);
}

void FrameBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace talvero

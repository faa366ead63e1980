// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/plain_label.h"

#include <QEvent>
#include <QPainter>
#include <QtMath>

namespace talvero {

PlainLabel::PlainLabel(Variant variant, QWidget *parent)
    : QLabel(parent)
    , TwipsGeometry(this)
    , variant_(variant)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    switch (variant) {
    case Variant::Heading:
        setAlignment(Qt::AlignCenter);
        break;
    case Variant::TextLine:
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case Variant::BoxedNumber:
        setAlignment(Qt::AlignCenter);
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setBackgroundRole(QPalette::Button);
        setAutoFillBackground(true);
        break;
    }
}

void PlainLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    fitToText();
}

void PlainLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToText();
}

void PlainLabel::paintEvent(QPaintEvent *event)
{
    if (variant_ == Variant::BoxedNumber) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QStaticText &text = preparedText();
    const QSizeF size = text.size();
    const qreal x = variant_ == Variant::Heading ? (width() - size.width()) / 2 : 0;
    painter.drawStaticText(QPointF(x, (height() - size.height()) / 2), text);
}

const QStaticText &PlainLabel::preparedText()
{
    return texts_.get(text(), font());
}

void PlainLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (fitPending_)
        fitToText();
}

void PlainLabel::fitToText()
{
    // A text line grows and shrinks with its text and keeps its height. Measuring loads the
    // label's font, so a hidden label (on a page not shown yet) waits until it is shown.
    if (variant_ != Variant::TextLine)
        return;
    fitPending_ = !isVisible();
    if (!fitPending_)
        setTwipsWidth(twipsFromPixels(qCeil(preparedText().size().width())));
}

} // namespace talvero

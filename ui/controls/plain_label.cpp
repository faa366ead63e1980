#include "ui/controls/plain_label.h"

#include <QEvent>
#include <QPainter>

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
    textPrepared_ = false;
    fitToText();
}

void PlainLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        textPrepared_ = false;
        fitToText();
    }
}

void PlainLabel::paintEvent(QPaintEvent *event)
{
    if (variant_ == Variant::BoxedNumber) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (!textPrepared_) {
        text_.setTextFormat(Qt::PlainText);
        text_.setText(text());
        text_.prepare(QTransform(), font());
        textPrepared_ = true;
    }
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QSizeF size = text_.size();
    const qreal x = variant_ == Variant::Heading ? (width() - size.width()) / 2 : 0;
    painter.drawStaticText(QPointF(x, (height() - size.height()) / 2), text_);
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
        setWidth(twipsFromPixels(sizeHint().width()));
}

} // namespace talvero

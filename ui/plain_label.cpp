#include "ui/plain_label.h"

#include <QEvent>

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

void PlainLabel::fitToText()
{
    // A text line grows and shrinks with its text and keeps its height.
    if (variant_ == Variant::TextLine)
        setWidth(twipsFromPixels(sizeHint().width()));
}

} // namespace talvero

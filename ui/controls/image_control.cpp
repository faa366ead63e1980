// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/image_control.h"

#include <QMouseEvent>

namespace talvero {

ImageControl::ImageControl(QWidget *parent)
    : QLabel(parent)
    , TwipsGeometry(this)
{
    setFocusPolicy(Qt::NoFocus);
}

void ImageControl::setPicture(const QPixmap &picture)
{
    setPixmap(picture);
    const QSize size = picture.deviceIndependentSize().toSize();
    setTwipsWidth(twipsFromPixels(size.width()));
    setTwipsHeight(twipsFromPixels(size.height()));
}

void ImageControl::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ImageControl::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release of the left button over the picture.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/twips_geometry.h"

#include <QLabel>

namespace talvero {

// Shows a picture at its own size and reports clicks on it.
class ImageControl final : public QLabel, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget *parent = nullptr);

    // Sizes the control to the picture.
    void setPicture(const QPixmap &picture);

    // What a click does, for assistive technology, which presses instead of clicking.
    void click() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

} // namespace talvero

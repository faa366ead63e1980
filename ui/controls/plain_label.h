// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/prepared_texts.h"
#include "ui/controls/twips_geometry.h"

#include <QLabel>

namespace talvero {

// A label of the window in one of its three looks.
class PlainLabel final : public QLabel, public TwipsGeometry
{
public:
    enum class Variant
    {
        Heading,     // centred, no border, on its container's background
        TextLine,    // left-aligned, one line, as wide as its text
        BoxedNumber, // centred in a sunken border on the button face
    };

    PlainLabel(Variant variant, QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The text as laid out for painting, which also measures it.
    const QStaticText &preparedText();
    void fitToText();

    Variant variant_;
    bool fitPending_ = false;
    // Headings and text lines keep their text laid out: all of them repaint on every resize.
    PreparedTexts texts_;
};

} // namespace talvero

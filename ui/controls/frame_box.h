// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/prepared_texts.h"
#include "ui/controls/twips_geometry.h"

#include <QWidget>

namespace talvero {

// A framed group: an etched border with a caption set into its top line. Its children are
// placed from its outer corner, caption line included. A frame without border only groups
// its children. A new caption repaints the caption line alone, where old and new text lie.
class FrameBox final : public QWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit FrameBox(QWidget *parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);

    void setBorder(bool border);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QRect captionRect(const QStaticText &text) const;

    QString caption_;
    bool border_ = true;
    // The captions come back: "Wurfergebnis" after every clearing, and a roll's summary as often
    // as the same roll is made.
    PreparedTexts texts_;
};

} // namespace talvero

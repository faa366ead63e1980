// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/control_colors.h"
#include "ui/controls/twips_geometry.h"

#include <QAbstractButton>

namespace talvero {

// The window's push button: flat colours of its own for normal, pressed, disabled and hovered,
// one of four face decorations, an optional symbol instead of a caption, "&" access keys,
// and a notification when the pointer enters it (used to refresh a tool tip just in time).
class CommandButton final : public QAbstractButton, public TwipsGeometry
{
    Q_OBJECT

public:
    // The face decorations; the design numbers them 0, 2, 34 and 65.
    enum class Face
    {
        Raised, // a bevelled edge
        Flat,   // a thin frame
        Symbol, // a thin frame, and a symbol instead of a caption
        Soft    // a thin frame around a slight shade from top to bottom
    };
    enum class Symbol
    {
        None,
        ClearCounts,
        ResetCounter
    };

    explicit CommandButton(QWidget *parent = nullptr);

    void setColors(const colors::ButtonColors &colors);

    void setFace(Face face);
    void setSymbol(Symbol symbol);

    QSize sizeHint() const override;

Q_SIGNALS:
    // Carries nothing: the receiver knows which button it connected to.
    void pointerEntered();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The colours painted right now, from the state.
    QColor currentBackColor() const;
    QColor currentTextColor() const;
    void paintFace(QPainter &painter, const QRect &area) const;
    void paintSymbol(QPainter &painter, const QRect &area) const;

    colors::ButtonColors colors_ = colors::lightButton;
    Face face_ = Face::Raised;
    Symbol symbol_ = Symbol::None;
    bool hovered_ = false;
};

} // namespace talvero

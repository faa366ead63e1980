#pragma once

#include "ui/controls/control_colors.h"
#include "ui/controls/twips_geometry.h"

#include <QAbstractButton>

namespace talvero {

// The window's push button: flat colours of its own for normal, pressed, disabled and hovered,
// a face decoration chosen by number, an optional symbol instead of a caption, "&" access keys,
// and a notification when the pointer enters it (used to refresh a tool tip just in time).
class CommandButton final : public QAbstractButton, public TwipsGeometry
{
    Q_OBJECT

public:
    // Face types: 0 raised bevel, 2 flat with a thin frame, 34 symbol only, 65 soft gradient.
    enum FaceType : int
    {
        RaisedFace = 0,
        FlatFace = 2,
        SymbolFace = 34,
        SoftFace = 65
    };
    enum class Symbol
    {
        None,
        ClearCounts,
        ResetCounter
    };

    explicit CommandButton(QWidget *parent = nullptr);

    const colors::ButtonColors &colors() const { return colors_; }
    void setColors(const colors::ButtonColors &colors);

    int faceType() const { return faceType_; }
    void setFaceType(int faceType);

    Symbol symbol() const { return symbol_; }
    void setSymbol(Symbol symbol);

    // The colours painted right now, from the state.
    QColor currentBackColor() const;
    QColor currentTextColor() const;
    bool isHovered() const { return hovered_; }

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
    void paintFace(QPainter &painter, const QRect &area) const;
    void paintSymbol(QPainter &painter, const QRect &area) const;

    colors::ButtonColors colors_ = colors::lightButton;
    int faceType_ = RaisedFace;
    Symbol symbol_ = Symbol::None;
    bool hovered_ = false;
};

} // namespace talvero

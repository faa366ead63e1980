// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QWidget>
#include <utility>

namespace talvero {

// Lengths in the window's design are twips: 1/1440 inch, 15 to a logical pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The pixel rectangle a control occupies: edges are rounded, not sizes, so neighbouring
// controls with fractional positions keep their gaps.
QRect pixelRect(const TwipsRect &twips);

inline float twipsFromPixels(int pixels)
{
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

// The nearest whole pixel.
int pixelsFromTwips(float twips);

// A control's Left, Top, Width and Height in twips. The values are kept as written (reads return
// the last value written) and the widget sits at the rounded pixel rectangle. Qt's own width()
// and height() stay in pixels.
class TwipsGeometry
{
public:
    virtual ~TwipsGeometry() = default;
    TwipsGeometry(const TwipsGeometry &) = delete;
    TwipsGeometry &operator=(const TwipsGeometry &) = delete;

    float twipsLeft() const { return rect_.left; }
    float twipsTop() const { return rect_.top; }
    float twipsWidth() const { return rect_.width; }
    float twipsHeight() const { return rect_.height; }
    const TwipsRect &twipsRect() const { return rect_; }

    void setTwipsLeft(float left) { assign(&TwipsRect::left, left); }
    void setTwipsTop(float top) { assign(&TwipsRect::top, top); }
    void setTwipsWidth(float width) { assign(&TwipsRect::width, width); }
    void setTwipsHeight(float height) { assign(&TwipsRect::height, height); }
    void setTwipsRect(const TwipsRect &rect);

protected:
    explicit TwipsGeometry(QWidget *self)
        : self_(self)
    {}

private:
    void assign(float TwipsRect::*field, float value);
    void place();

    QWidget *self_;
    TwipsRect rect_;
};

// A stock Qt control with twips geometry.
template <class W> class TwipsPlaced final : public W, public TwipsGeometry
{
public:
    template <class... Args>
    explicit TwipsPlaced(Args &&...args)
        : W(std::forward<Args>(args)...)
        , TwipsGeometry(this)
    {}
};

// The twips geometry of a widget, or nullptr when it has none.
inline TwipsGeometry *twipsOf(QWidget *widget)
{
    return dynamic_cast<TwipsGeometry *>(widget);
}

} // namespace talvero

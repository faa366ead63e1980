// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace talvero {

// One-pixel lines as filled rectangles: the raster engine's fastest path, and every control
// of the window repaints on each resize.

// The outline just inside `area`.
inline void drawOutline(QPainter &painter, const QRect &area, const QColor &color)
{
    painter.fillRect(area.left(), area.top(), area.width(), 1, color);
    painter.fillRect(area.left(), area.bottom(), area.width(), 1, color);
    painter.fillRect(area.left(), area.top() + 1, 1, area.height() - 2, color);
    painter.fillRect(area.right(), area.top() + 1, 1, area.height() - 2, color);
}

// A three-dimensional edge: `topLeft` along the top and left, `bottomRight` along the others.
inline void drawBevel(QPainter &painter, const QRect &area, const QColor &topLeft,
                      const QColor &bottomRight)
{
    painter.fillRect(area.left(), area.top(), area.width(), 1, topLeft);
    painter.fillRect(area.left(), area.top() + 1, 1, area.height() - 1, topLeft);
    painter.fillRect(area.left() + 1, area.bottom(), area.width() - 1, 1, bottomRight);
    painter.fillRect(area.right(), area.top() + 1, 1, area.height() - 2, bottomRight);
}

} // namespace talvero

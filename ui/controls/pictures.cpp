// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/pictures.h"

#include <QImageReader>

namespace talvero {

namespace {

// The fingertip of the drawn hand.
constexpr int kHandHotX = 7;
constexpr int kHandHotY = 1;

// Sizes in device pixels the icon's drawing is rendered at, besides its 32 and 128 pictures.
constexpr int kDrawnIconSides[] = {64, 256};

// Reads a picture in the format it is known to have. Without the hint Qt loads every image
// plugin it has to guess the format, which costs start-up time and memory.
QPixmap readPicture(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    icon.addPixmap(readPicture(QStringLiteral(":/talvero/talvero-32.png"), "png"));
    icon.addPixmap(readPicture(QStringLiteral(":/talvero/talvero-128.png"), "png"));
    // The drawing itself at the sizes a title bar and a task switcher take at scale 2, so that
    // none of them is a scaled-up 32-pixel picture. Without Qt's SVG plugin the two PNGs serve.
    for (const int side : kDrawnIconSides) {
        QImageReader reader(QStringLiteral(":/talvero/talvero.svg"), "svg");
        reader.setAutoDetectImageFormat(false);
        reader.setScaledSize(QSize(side, side));
        const QImage drawn = reader.read();
        if (!drawn.isNull())
            icon.addPixmap(QPixmap::fromImage(drawn));
    }
    return icon;
}

QPixmap logoPicture()
{
    return readPicture(QStringLiteral(":/talvero/logo.gif"), "gif");
}

QCursor pointingHandCursor()
{
    const QPixmap hand = readPicture(QStringLiteral(":/talvero/pointer_hand.png"), "png");
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, kHandHotX, kHandHotY);
}

} // namespace talvero

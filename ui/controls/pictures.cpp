// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/pictures.h"

#include <QImageReader>

namespace talvero {

namespace {

// The fingertip of the drawn hand.
constexpr int kHandHotX = 7;
constexpr int kHandHotY = 1;

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
    return QIcon(readPicture(QStringLiteral(":/talvero/talvero.ico"), "ico"));
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

#include "ui/pictures.h"

namespace talvero {

namespace {

// The fingertip of the drawn hand.
constexpr int kHandHotX = 7;
constexpr int kHandHotY = 1;

} // namespace

QIcon programIcon()
{
    QIcon icon(QStringLiteral(":/talvero/talvero.ico"));
    icon.addFile(QStringLiteral(":/talvero/talvero-128.png"));
    return icon;
}

QPixmap logoPicture()
{
    return QPixmap(QStringLiteral(":/talvero/logo.gif"));
}

QCursor pointingHandCursor()
{
    const QPixmap hand(QStringLiteral(":/talvero/pointer_hand.png"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, kHandHotX, kHandHotY);
}

} // namespace talvero

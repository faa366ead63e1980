// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace talvero {

// The pictures that come with the program, compiled in as resources.
QIcon programIcon();
QPixmap logoPicture();
QCursor pointingHandCursor();

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
// The second floor of talvero_first_paint: Talvero's window rebuilt in stock Qt widgets from the
// description talvero_bench wrote of it, with the same fonts, pictures and first-paint probe.
// Usage: talvero_plain_window <description.json>

#include "bench/first_paint_probe.h"
#include "bench/widget_mirror.h"
#include "ui/controls/fonts.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    talvero::installFontSubstitutes();
    const talvero::bench::Mirror mirror = talvero::bench::buildMirror(
        talvero::bench::fromJson(QJsonDocument::fromJson(file.readAll()).array()));
    talvero::bench::FirstPaintProbe probe(*mirror.window);
    mirror.window->show();
    return app.exec();
}

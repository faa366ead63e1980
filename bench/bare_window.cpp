// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for talvero_first_paint: a bare Qt program showing one empty window of Talvero's
// client size, with the same first-paint probe.

#include "bench/first_paint_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    // Talvero's designed client area, 9930 x 4110 twips.
    window.resize(662, 274);
    talvero::bench::FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Talvero started as app/main.cpp starts it, with a probe that reports the first painted frame
// and then quits. talvero_bench runs it to time the start-up and to take the peak memory.

#include "app/application.h"
#include "bench/first_paint_probe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    talvero::Application talvero;
    talvero::bench::FirstPaintProbe probe(talvero.window());
    talvero.window().show();
    return app.exec();
}

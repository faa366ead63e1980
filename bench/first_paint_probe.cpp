// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace talvero::bench {

FirstPaintProbe::FirstPaintProbe(QWidget &window)
    : window_(window)
{
    window_.installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (!seen_ && watched == &window_ && event->type() == QEvent::Paint) {
        seen_ = true;
        // The window is painted before its children and the frame is flushed after all of
        // them; a zero timer fires once that pass has returned to the event loop.
        QTimer::singleShot(0, this, &FirstPaintProbe::reportAndQuit);
    }
    return false;
}

void FirstPaintProbe::reportAndQuit()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long nanoseconds =
        static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
    std::printf("%lld\n", nanoseconds);
    std::fflush(stdout);
    QCoreApplication::quit();
}

} // namespace talvero::bench

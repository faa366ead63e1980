// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

namespace talvero::bench {

// Watches a window for its first painted frame. Once that frame has been flushed it writes the
// CLOCK_MONOTONIC time in nanoseconds as one line to standard output and quits the application,
// so that a parent process can time the start from its spawn to the first frame on screen.
class FirstPaintProbe final : public QObject
{
    Q_OBJECT

public:
    explicit FirstPaintProbe(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportAndQuit();

    QWidget &window_;
    bool seen_ = false;
};

} // namespace talvero::bench

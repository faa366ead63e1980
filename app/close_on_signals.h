// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;
class QWidget;

namespace talvero {

// Closes the window when the system asks the process to end (SIGTERM at logout or shutdown,
// SIGHUP when its terminal goes away, SIGINT for Ctrl+C), so that such an end saves the
// settings like any other close. A signal the process was started with ignored (`nohup`, a
// background job of a script) stays ignored. One instance at a time.
class CloseOnSignals final : public QObject
{
    Q_OBJECT

public:
    explicit CloseOnSignals(QWidget &window);
    ~CloseOnSignals() override;

private:
    static void onSignal(int signal);

    QWidget &window_;
    QSocketNotifier *notifier_ = nullptr;
    // What each signal did before, put back when this goes.
    std::array<struct sigaction, 3> before_{};
};

} // namespace talvero

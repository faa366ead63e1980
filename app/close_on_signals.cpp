// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/close_on_signals.h"

#include <QSocketNotifier>
#include <QWidget>
#include <fcntl.h>
#include <unistd.h>

namespace talvero {

namespace {

// The handler may only write to a pipe; the event loop reads it and closes the window.
int wakeUp[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

} // namespace

CloseOnSignals::CloseOnSignals(QWidget &window)
    : window_(window)
{
    if (wakeUp[0] >= 0 || ::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(wakeUp[0], drained, sizeof drained) > 0) {
        }
        window_.close();
    });
    struct sigaction action = {};
    action.sa_handler = &CloseOnSignals::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], nullptr, &before_[i]);
        if (before_[i].sa_handler != SIG_IGN)
            ::sigaction(kSignals[i], &action, nullptr);
    }
}

CloseOnSignals::~CloseOnSignals()
{
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &before_[i], nullptr);
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

void CloseOnSignals::onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
}

} // namespace talvero

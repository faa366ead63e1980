// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace talvero {

// Closes the window when the system asks the process to end (SIGTERM at logout or shutdown,
// SIGHUP when its terminal goes away, SIGINT for Ctrl+C), so that such an end saves the
// settings like any other close. One instance at a time.
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
};

} // namespace talvero

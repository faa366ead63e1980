#pragma once

// Helpers for tests that drive the real window offscreen.

#include "ui/main_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace talvero::testing {

// The one widget of that object name in the window; fails the test when there is not exactly one.
template <class W = QWidget> W *control(const QWidget &window, const QString &name)
{
    const auto matches = window.findChildren<W *>(name);
    if (matches.size() != 1) {
        QTest::qFail(
            qPrintable(QStringLiteral("%1 controls named %2").arg(matches.size()).arg(name)),
            __FILE__, __LINE__);
        return nullptr;
    }
    return matches.first();
}

// What a message box showed before the watcher closed it.
struct SeenMessageBox
{
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QMessageBox::StandardButtons buttons;
};

// Answers the next modal message box with its first button and records what it showed.
class MessageBoxWatcher
{
public:
    MessageBoxWatcher()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start();
    }
    SeenMessageBox seen;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer_.stop();
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttonCount = static_cast<int>(box->buttons().size());
        seen.buttons = box->standardButtons();
        box->buttons().first()->click();
    }
    QTimer timer_;
};

// The colour of one pixel of a widget as rendered.
inline QColor pixelOf(QWidget *widget, QPoint at)
{
    return widget->grab().toImage().pixelColor(at);
}

} // namespace talvero::testing

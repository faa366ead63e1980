#pragma once

// Helpers for tests that drive the real window offscreen.

#include "ui/main_window.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <unistd.h>

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

// Answers the next modal message box (or every one, when told to keep watching) with its first
// button and records what the last one showed.
class MessageBoxWatcher
{
public:
    enum Mode
    {
        NextOnly,
        KeepWatching
    };
    explicit MessageBoxWatcher(Mode mode = NextOnly)
        : mode_(mode)
    {
        timer_.setInterval(mode == KeepWatching ? 0 : 5);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start();
    }
    SeenMessageBox seen;
    int answered = 0;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (mode_ == NextOnly)
            timer_.stop();
        ++answered;
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttonCount = static_cast<int>(box->buttons().size());
        seen.buttons = box->standardButtons();
        box->buttons().first()->click();
    }
    Mode mode_;
    QTimer timer_;
};

// Drops the offscreen platform's note that it cannot pass size hints on, which every message
// box raises; everything else is logged as before.
class QuietSizeHintNotes
{
public:
    QuietSizeHintNotes() { previous() = qInstallMessageHandler(&filter); }
    ~QuietSizeHintNotes() { qInstallMessageHandler(previous()); }
    QuietSizeHintNotes(const QuietSizeHintNotes &) = delete;
    QuietSizeHintNotes &operator=(const QuietSizeHintNotes &) = delete;

private:
    static QtMessageHandler &previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message.contains(QLatin1String("propagateSizeHints")))
            return;
        if (previous())
            previous()(type, context, message);
    }
};

// Whole-number count of a caption the engine wrote; -1 when the caption is no such text.
inline double countIn(const QString &caption)
{
    if (caption.isEmpty())
        return -1;
    for (const QChar c : caption) {
        if (!c.isDigit())
            return -1;
    }
    return caption.toDouble();
}

// Checks that a page's at-least row agrees with its face row and returns the face row's sum.
template <class FaceRow, class AtLeastRow>
double verifiedTally(const FaceRow &faces, const AtLeastRow &atLeast, bool *ok)
{
    double total = 0;
    *ok = true;
    for (const CountLabel *label : faces) {
        const double count = countIn(label->caption());
        *ok = *ok && count >= 0;
        total += count;
    }
    double fromTop = 0;
    for (int k = static_cast<int>(atLeast.size()) - 1; k >= 0; --k) {
        fromTop += countIn(faces[static_cast<std::size_t>(k) + 1]->caption());
        *ok = *ok && countIn(atLeast[static_cast<std::size_t>(k)]->caption()) == fromTop;
    }
    return total;
}

// The resident memory of this process, in bytes; -1 where /proc is not there.
inline qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

// The colour of one pixel of a widget as rendered.
inline QColor pixelOf(QWidget *widget, QPoint at)
{
    return widget->grab().toImage().pixelColor(at);
}

} // namespace talvero::testing

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives the real window from outside, as a user and a screen reader do, by its design names.

#include "ui/controls/count_label.h"
#include "ui/controls/frame_box.h"
#include "ui/controls/twips_geometry.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <numeric>
#include <type_traits>

namespace talvero::testing {

using namespace Qt::StringLiterals;

// A control's design name, from a UTF-8 literal or a text.
struct Name
{
    Name(const char *utf8) { text = QString::fromUtf8(utf8); }
    Name(QString name) { text = std::move(name); }
    QString text;
};

// The name of an array element: element("cmd_Würfel2", 3) is "cmd_Würfel2(3)".
inline QString element(const char *array, int index)
{
    return u"%1(%2)"_s.arg(QString::fromUtf8(array)).arg(index);
}

// What a control shows as its caption: a count, a frame's caption, a label's or a button's text.
inline QString captionOf(const QWidget *widget)
{
    if (auto *label = qobject_cast<const CountLabel *>(widget))
        return label->caption();
    if (auto *frame = qobject_cast<const FrameBox *>(widget))
        return frame->caption();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    return {};
}

inline double total(const QStringList &counts)
{
    return std::accumulate(counts.begin(), counts.end(), 0.0,
                           [](double sum, const QString &count) { return sum + count.toDouble(); });
}

// How many pixels inside `area` of a rendering differ from `background`, and the box around them.
inline int inkIn(const QImage &image, QRect area, QColor background, QRect *box = nullptr)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background && ++ink > 0 && box)
                *box |= QRect(x, y, 1, 1);
    return ink;
}

// Answers modal dialogs: records message boxes, closes them, fails on one more than expected.
class ModalWatch
{
public:
    struct Box
    {
        QString title, text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        const QWidget *parent;
    };
    ModalWatch()
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start(5);
    }
    void expectBoxes(int count) { expected_ += count; }
    QList<Box> boxes;
    std::function<void(QFontDialog &)> fontDialog;
    std::function<void(QFileDialog &)> fileDialog;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes << Box{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                         box->parentWidget()};
            if (boxes.size() > expected_)
                QTest::qFail(qPrintable(u"unexpected box: "_s + box->text()), __FILE__, __LINE__);
            box->buttons().first()->click();
        } else if (auto *dialog = qobject_cast<QFontDialog *>(modal)) {
            fontDialog ? fontDialog(*dialog) : unexpected(dialog, "unexpected font dialog");
        } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            fileDialog ? fileDialog(*files) : unexpected(files, "unexpected file dialog");
        }
    }
    static void unexpected(QDialog *dialog, const char *what)
    {
        QTest::qFail(what, __FILE__, __LINE__);
        dialog->reject();
    }

    int expected_ = 0;
    QTimer timer_;
};

class Driver
{
public:
    explicit Driver(QWidget &window) { window_ = &window; }
    // A name that finds no single control of the kind fails the test; a stand-in takes the call.
    template <class W = QWidget> W *the(const Name &name) const
    {
        QWidget *&control = controls_[name.text];
        if (!control && window_->findChildren<QWidget *>(name.text).size() == 1)
            control = window_->findChild<QWidget *>(name.text);
        if (W *typed = qobject_cast<W *>(control))
            return typed;
        QTest::qFail(qPrintable(u"no single such control: "_s + name.text), __FILE__, __LINE__);
        return new std::conditional_t<std::is_abstract_v<W>, QPushButton, W>(&standIns_);
    }
    QString caption(const Name &name) const { return captionOf(the(name)); }
    QStringList captions(const char *array, int count) const
    {
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts << caption(element(array, i));
        return texts;
    }
    TwipsRect twips(const Name &name) const { return twipsOf(the(name))->twipsRect(); }
    QColor pixel(const Name &name, QPoint at) const
    {
        return the(name)->grab().toImage().pixelColor(at);
    }
    bool show()
    {
        window_->show();
        return QTest::qWaitForWindowExposed(window_);
    }
    void click(const Name &name) { QTest::mouseClick(the(name), Qt::LeftButton); }
    void setValue(const Name &scrollBar, int value) { the<QScrollBar>(scrollBar)->setValue(value); }
    QTabBar *tabs() const { return the(u"SSTab"_s)->findChild<QTabBar *>(); }
    void showPage(int page)
    {
        QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(page).center());
    }
    static QMenu *openMenu() { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }
    // A menu's entries as read, no separators: "[disabled]", "Chancen…\tCtrl+I" with its key.
    static QStringList entries(const QMenu *menu)
    {
        QStringList texts;
        for (const QAction *action : menu ? menu->actions() : QList<QAction *>()) {
            if (action->isSeparator())
                continue;
            QString text = action->isEnabled() ? action->text() : u'[' + action->text() + u']';
            if (!action->shortcut().isEmpty() && action->isShortcutVisibleInContextMenu())
                text += u'\t' + action->shortcut().toString(QKeySequence::NativeText);
            texts << text;
        }
        return texts;
    }
    // The same as assistive technology reaches them; an entry it cannot reach reads "?".
    static QStringList spokenEntries(QMenu *menu)
    {
        QStringList texts;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; spoken && i < spoken->childCount(); ++i) {
            QAccessibleInterface *entry = spoken->child(i);
            if (!entry || !entry->isValid() || entry->parent() != spoken) {
                texts << u"?"_s;
            } else if (entry->role() != QAccessible::Separator) {
                const QString name = entry->text(QAccessible::Name);
                const QKeySequence key(entry->text(QAccessible::Accelerator));
                texts << (entry->state().disabled ? u'[' + name + u']' : name) +
                             (key.isEmpty() ? QString()
                                            : u'\t' + key.toString(QKeySequence::NativeText));
            }
        }
        return texts;
    }
    // Clicks the open menu's enabled entry of this text, "a/b" through a submenu; false if none.
    static bool choose(const QString &path)
    {
        for (const QString &text : path.split(u'/')) {
            QMenu *menu = openMenu();
            QAction *entry = nullptr;
            for (QAction *action : menu ? menu->actions() : QList<QAction *>())
                if (action->text() == text && action->isEnabled())
                    entry = action;
            if (!entry)
                return false;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
            if (entry->menu() && !QTest::qWaitFor([&] { return openMenu() == entry->menu(); }))
                return false;
        }
        return true;
    }
    // Through the window, as the platform delivers a click: Qt makes the context menu event.
    void rightClick(const Name &name)
    {
        QWidget *control = the(name);
        QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {},
                          control->mapTo(window_, control->rect().center()));
    }

    ModalWatch watch;

private:
    QWidget *window_;
    mutable QHash<QString, QWidget *> controls_;
    mutable QWidget standIns_;
};

} // namespace talvero::testing

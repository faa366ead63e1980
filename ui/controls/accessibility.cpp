// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/accessibility.h"

#include "ui/controls/count_label.h"
#include "ui/controls/frame_box.h"
#include "ui/controls/image_control.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <set>
#include <string>

namespace talvero {

namespace {

// As if the Menu key was pressed on the widget: its context menu, or its container's. The event
// stands on the widget's own corner, so that a container does not take it for a child's; the
// menu opens at the widget's centre.
void showContextMenu(QWidget *widget)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                            widget->mapToGlobal(widget->rect().center()));
    QApplication::sendEvent(widget, &event);
}

// A widget whose context menu assistive technology can show.
class MenuWidgetAccessible : public QAccessibleWidget
{
public:
    MenuWidgetAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {}

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction())
            showContextMenu(widget());
        else
            QAccessibleWidget::doAction(action);
    }
};

std::set<std::string> &classesWithMenus()
{
    static std::set<std::string> names;
    return names;
}

class CountLabelAccessible final : public MenuWidgetAccessible
{
public:
    explicit CountLabelAccessible(CountLabel *label)
        : MenuWidgetAccessible(label, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const CountLabel *>(widget());
        switch (t) {
        case QAccessible::Name:
            return label->caption();
        case QAccessible::Description:
            return label->description();
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

class FrameBoxAccessible final : public QAccessibleWidget
{
public:
    explicit FrameBoxAccessible(FrameBox *frame)
        : QAccessibleWidget(frame, QAccessible::Grouping)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const FrameBox *>(widget())->caption();
        return QAccessibleWidget::text(t);
    }
};

// A picture that does something when clicked: assistive technology presses it instead.
class ImageControlAccessible final : public QAccessibleWidget
{
public:
    explicit ImageControlAccessible(ImageControl *image)
        : QAccessibleWidget(image, QAccessible::Graphic)
    {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<ImageControl *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String(CountLabel::staticMetaObject.className()))
        return new CountLabelAccessible(static_cast<CountLabel *>(object));
    if (className == QLatin1String(FrameBox::staticMetaObject.className()))
        return new FrameBoxAccessible(static_cast<FrameBox *>(object));
    if (className == QLatin1String(ImageControl::staticMetaObject.className()))
        return new ImageControlAccessible(static_cast<ImageControl *>(object));
    if (classesWithMenus().count(className.toStdString()) != 0 && object->isWidgetType())
        return new MenuWidgetAccessible(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void offerContextMenu(const char *className)
{
    classesWithMenus().insert(className);
}

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    (void)installed;
}

} // namespace talvero

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/accessibility.h"

#include "ui/controls/count_label.h"
#include "ui/controls/frame_box.h"
#include "ui/controls/image_control.h"

#include <QAccessibleWidget>

namespace talvero {

namespace {

class CountLabelAccessible final : public QAccessibleWidget
{
public:
    explicit CountLabelAccessible(CountLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const CountLabel *>(widget());
        switch (t) {
        case QAccessible::Name:
            return label->caption();
        case QAccessible::Description:
            return label->heading();
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
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    (void)installed;
}

} // namespace talvero

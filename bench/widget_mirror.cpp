// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/widget_mirror.h"

#include "ui/controls/count_label.h"
#include "ui/controls/frame_box.h"
#include "ui/controls/pictures.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>

namespace talvero::bench {

namespace {

void describeInto(const QWidget &widget, int parent, WindowDescription &out)
{
    ControlDescription d;
    d.parent = parent;
    d.name = widget.objectName();
    d.rect = parent < 0 ? QRect(QPoint(), widget.size()) : widget.geometry();
    d.visible = parent < 0 || widget.isVisibleTo(widget.parentWidget());
    d.font = widget.font();
    bool container = false;
    if (parent < 0) {
        d.kind = QStringLiteral("window");
        d.text = widget.windowTitle();
        container = true;
    } else if (const auto *count = qobject_cast<const CountLabel *>(&widget)) {
        d.kind = QStringLiteral("count");
        d.text = count->caption();
        d.font = count->labelFont();
    } else if (const auto *frame = qobject_cast<const FrameBox *>(&widget)) {
        d.kind = QStringLiteral("frame");
        d.text = frame->caption();
        container = true;
    } else if (const auto *tabs = qobject_cast<const QTabBar *>(&widget)) {
        d.kind = QStringLiteral("tabs");
        for (int i = 0; i < tabs->count(); ++i)
            d.text += (i > 0 ? QStringLiteral("\n") : QString()) + tabs->tabText(i);
        d.value = tabs->currentIndex();
    } else if (const auto *bar = qobject_cast<const QScrollBar *>(&widget)) {
        d.kind = QStringLiteral("scroll");
        d.value = bar->value();
        d.minimum = bar->minimum();
        d.maximum = bar->maximum();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(&widget)) {
        d.kind = qobject_cast<const QRadioButton *>(&widget) ? QStringLiteral("radio")
                 : qobject_cast<const QCheckBox *>(&widget)  ? QStringLiteral("check")
                                                             : QStringLiteral("button");
        d.text = button->text();
        d.value = button->isChecked() ? 1 : 0;
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        d.kind = label->pixmap().isNull() ? QStringLiteral("label") : QStringLiteral("image");
        d.text = label->text();
        d.alignment = static_cast<int>(label->alignment());
        d.frameStyle = label->frameStyle();
    } else {
        d.kind = QStringLiteral("widget");
        container = true;
    }
    const auto index = static_cast<int>(out.size());
    out.append(d);
    if (!container)
        return;
    for (QObject *child : widget.children()) {
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
            describeInto(*w, index, out);
    }
}

QWidget *makeWidget(const ControlDescription &d, QWidget *parent)
{
    const QString &kind = d.kind;
    if (kind == QLatin1String("count")) {
        auto *label = new QLabel(d.text, parent);
        label->setFrameShape(QFrame::Box);
        label->setAlignment(Qt::AlignCenter);
        QPalette white = label->palette();
        white.setColor(QPalette::Window, Qt::white);
        label->setPalette(white);
        label->setAutoFillBackground(true);
        return label;
    }
    if (kind == QLatin1String("label")) {
        auto *label = new QLabel(d.text, parent);
        label->setAlignment(Qt::Alignment(d.alignment));
        label->setFrameStyle(d.frameStyle);
        return label;
    }
    if (kind == QLatin1String("image")) {
        auto *label = new QLabel(parent);
        label->setPixmap(logoPicture());
        return label;
    }
    if (kind == QLatin1String("frame")) {
        auto *frame = new QGroupBox(d.text, parent);
        frame->setFlat(d.text.isEmpty());
        return frame;
    }
    if (kind == QLatin1String("tabs")) {
        auto *tabs = new QTabBar(parent);
        for (const QString &tab : d.text.split(QLatin1Char('\n')))
            tabs->addTab(tab);
        tabs->setCurrentIndex(d.value);
        return tabs;
    }
    if (kind == QLatin1String("scroll")) {
        auto *bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(d.minimum, d.maximum);
        bar->setValue(d.value);
        return bar;
    }
    if (kind == QLatin1String("radio") || kind == QLatin1String("check")) {
        QAbstractButton *box =
            kind == QLatin1String("radio")
                ? static_cast<QAbstractButton *>(new QRadioButton(d.text, parent))
                : new QCheckBox(d.text, parent);
        box->setChecked(d.value != 0);
        return box;
    }
    if (kind == QLatin1String("button")) {
        auto *button = new QPushButton(d.text, parent);
        button->setCursor(pointingHandCursor());
        return button;
    }
    auto *widget = new QWidget(parent);
    if (kind == QLatin1String("window")) {
        widget->setWindowTitle(d.text);
        widget->setWindowIcon(programIcon());
        widget->setBackgroundRole(QPalette::Button);
        widget->setAutoFillBackground(true);
    }
    return widget;
}

} // namespace

WindowDescription describe(const QWidget &window)
{
    WindowDescription description;
    describeInto(window, -1, description);
    return description;
}

QJsonArray toJson(const WindowDescription &description)
{
    QJsonArray json;
    for (const ControlDescription &d : description)
        json.append(
            QJsonObject{{QStringLiteral("kind"), d.kind},
                        {QStringLiteral("parent"), d.parent},
                        {QStringLiteral("name"), d.name},
                        {QStringLiteral("rect"),
                         QJsonArray{d.rect.x(), d.rect.y(), d.rect.width(), d.rect.height()}},
                        {QStringLiteral("visible"), d.visible},
                        {QStringLiteral("text"), d.text},
                        {QStringLiteral("font"), d.font.toString()},
                        {QStringLiteral("alignment"), d.alignment},
                        {QStringLiteral("frameStyle"), d.frameStyle},
                        {QStringLiteral("value"), d.value},
                        {QStringLiteral("minimum"), d.minimum},
                        {QStringLiteral("maximum"), d.maximum}});
    return json;
}

WindowDescription fromJson(const QJsonArray &json)
{
    WindowDescription description;
    for (const QJsonValue &value : json) {
        const QJsonObject o = value.toObject();
        const QJsonArray r = o.value(QStringLiteral("rect")).toArray();
        ControlDescription d;
        d.kind = o.value(QStringLiteral("kind")).toString();
        d.parent = o.value(QStringLiteral("parent")).toInt();
        d.name = o.value(QStringLiteral("name")).toString();
        d.rect = QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
        d.visible = o.value(QStringLiteral("visible")).toBool();
        d.text = o.value(QStringLiteral("text")).toString();
        d.font.fromString(o.value(QStringLiteral("font")).toString());
        d.alignment = o.value(QStringLiteral("alignment")).toInt();
        d.frameStyle = o.value(QStringLiteral("frameStyle")).toInt();
        d.value = o.value(QStringLiteral("value")).toInt();
        d.minimum = o.value(QStringLiteral("minimum")).toInt();
        d.maximum = o.value(QStringLiteral("maximum")).toInt();
        description.append(d);
    }
    return description;
}

Mirror buildMirror(const WindowDescription &description)
{
    Mirror mirror;
    for (const ControlDescription &d : description) {
        QWidget *parent = d.parent < 0 ? nullptr : mirror.widgets.at(d.parent);
        QWidget *widget = makeWidget(d, parent);
        widget->setObjectName(d.name);
        widget->setFont(d.font);
        if (parent)
            widget->setGeometry(d.rect);
        else
            widget->resize(d.rect.size());
        if (parent)
            widget->setVisible(d.visible);
        mirror.widgets.append(widget);
        if (!parent)
            mirror.window.reset(widget);
    }
    return mirror;
}

} // namespace talvero::bench

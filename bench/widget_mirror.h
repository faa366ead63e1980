// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A twin of a window in stock Qt widgets, the floor Talvero's own widgets are measured against:
// for every control the nearest stock widget (QLabel for a count label, QGroupBox for a frame,
// QPushButton for a command button, ...) with the same name, place, text and font.

#include <QFont>
#include <QJsonArray>
#include <QList>
#include <QRect>
#include <QString>
#include <memory>

class QWidget;

namespace talvero::bench {

// One control of a window, as much of it as its stock twin needs.
struct ControlDescription
{
    QString kind; // window, widget, count, label, image, frame, tabs, button, radio, check, scroll
    int parent = -1; // index in the description; -1 for the window
    QString name;
    QRect rect;
    bool visible = true;
    QString text;
    QFont font;
    int alignment = 0;
    int frameStyle = 0;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

using WindowDescription = QList<ControlDescription>;

// The window and its controls, the window first, every container before what it holds.
WindowDescription describe(const QWidget &window);

QJsonArray toJson(const WindowDescription &description);
WindowDescription fromJson(const QJsonArray &json);

// The stock twin, with its widgets in the order of the description.
struct Mirror
{
    std::unique_ptr<QWidget> window;
    QList<QWidget *> widgets;
};

Mirror buildMirror(const WindowDescription &description);

} // namespace talvero::bench

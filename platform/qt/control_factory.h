#pragma once
// Makes the widget of one on-screen control of the window description, in its described place,
// with its caption, font and initial visibility. Timers have no widget (see ControlTimer).
#include <QWidget>

#include "platform/window_description.h"

namespace vostrel::platform::qt {

// A transparent label's text, and the same text while it raises an alert.
constexpr Qt::GlobalColor kLabelTextColour = Qt::black;
constexpr Qt::GlobalColor kAlertTextColour = Qt::red;

// parent: the window, or the group box named in described.parent. The widget is owned by the parent.
QWidget* makeControlWidget(const ControlDescription& described, QWidget* parent);

// Caption or content of a control's widget, and setting it (the edit box limit does not apply).
QString widgetText(const QWidget* widget);
void setWidgetText(QWidget* widget, const QString& text);

} // namespace vostrel::platform::qt

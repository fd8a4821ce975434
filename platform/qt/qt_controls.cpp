#include "platform/qt/qt_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <cassert>

#include "platform/qt/control_factory.h"
#include "platform/qt/drop_down_list.h"
#include "platform/qt/utf8_qstring.h"

namespace vostrel::platform::qt {

QtControls::QtControls(const WindowDescription& description, MainWindowWidget& window, std::function<void()> queueClose)
    : window_(&window), queueClose_(std::move(queueClose)) {
    // Group boxes first: they are the parents of other controls.
    for (const ControlDescription& described : description.controls) {
        if (described.kind == ControlKind::GroupBox)
            entries_[described.name].widget = makeControlWidget(described, &window);
    }
    for (const ControlDescription& described : description.controls) {
        Entry& entry = entries_[described.name];
        if (described.kind == ControlKind::GroupBox) continue;
        if (described.kind == ControlKind::Timer) {
            entry.timer = std::make_unique<ControlTimer>(&window);
            entry.describedInterval = described.interval;
            continue;
        }
        QWidget* parent = &window;
        if (!described.parent.empty()) {
            const Entry* group = find(described.parent);
            assert(group && group->widget);
            if (group && group->widget) parent = group->widget;
        }
        entry.widget = makeControlWidget(described, parent);
    }
    // Stacking: an earlier row lies above every later row with the same parent. Raising from the
    // last row to the first leaves the first on top.
    for (auto it = description.controls.rbegin(); it != description.controls.rend(); ++it) {
        if (QWidget* w = widget(it->name)) w->raise();
    }
    // Tab order: the chain runs through the named controls in the given order and wraps; Qt
    // skips hidden controls on its own.
    for (std::size_t i = 0; i + 1 < description.focusOrder.size(); ++i) {
        QWidget* from = widget(description.focusOrder[i]);
        QWidget* to = widget(description.focusOrder[i + 1]);
        if (from && to) QWidget::setTabOrder(from, to);
    }
    for (const EventBinding& binding : description.bindings) bind(binding);
}

void QtControls::bind(const EventBinding& binding) {
    auto it = entries_.find(binding.control);
    if (it == entries_.end()) return;
    Entry& entry = it->second;
    switch (binding.event) {
    case ControlEvent::Tick:
        if (entry.timer) entry.timer->onTick(binding.handler);
        return;
    case ControlEvent::Click:
        if (auto* button = qobject_cast<QAbstractButton*>(entry.widget))
            QObject::connect(button, &QAbstractButton::clicked, button, [handler = binding.handler] { handler(); });
        return;
    case ControlEvent::Change:
        if (auto* list = dynamic_cast<DropDownList*>(entry.widget)) list->onPicked(binding.handler);
        return;
    }
}

void QtControls::startDescribedTimers() {
    for (auto& [name, entry] : entries_) {
        if (entry.timer && entry.describedInterval > 0) entry.timer->setInterval(entry.describedInterval);
    }
}

void QtControls::detach() {
    if (!attached_) return;
    attached_ = false;
    for (auto& [name, entry] : entries_) {
        if (entry.timer) entry.timer->stop();
    }
}

const QtControls::Entry* QtControls::find(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

QWidget* QtControls::widget(std::string_view name) const {
    const Entry* entry = find(name);
    assert(entry && (entry->widget || entry->timer));
    return entry ? entry->widget : nullptr;
}

ControlTimer* QtControls::timer(std::string_view name) const {
    const Entry* entry = find(name);
    assert(entry && entry->timer);
    return entry ? entry->timer.get() : nullptr;
}

std::string QtControls::text(std::string_view control) const {
    QWidget* w = widget(control);
    if (!attached_ || !w) return {};
    return widgetText(w).toStdString();
}

void QtControls::setText(std::string_view control, std::string_view text) {
    QWidget* w = widget(control);
    if (!attached_ || !w) return;
    setWidgetText(w, fromUtf8(text));
}

void QtControls::setItems(std::string_view dropDownList, const std::vector<std::string>& items) {
    auto* list = dynamic_cast<DropDownList*>(widget(dropDownList));
    assert(list);
    if (!attached_ || !list) return;
    QStringList texts;
    for (const std::string& item : items) texts << fromUtf8(item);
    list->replaceItems(texts);
    if (list->isVisible()) list->repaint();
}

void QtControls::setAlert(std::string_view label, bool alert) {
    auto* shown = qobject_cast<QLabel*>(widget(label));
    assert(shown);
    const QColor colour = alert ? kAlertTextColour : kLabelTextColour;
    // The label's colour is its state: the same state, no change and no repaint.
    if (!attached_ || !shown || shown->palette().color(QPalette::WindowText) == colour) return;
    QPalette palette = shown->palette();
    palette.setColor(QPalette::WindowText, colour);
    shown->setPalette(palette);
    if (shown->isVisible()) shown->repaint(); // on the screen before the handler goes on
}

bool QtControls::ticked(std::string_view checkBox) const {
    auto* box = qobject_cast<QCheckBox*>(widget(checkBox));
    return attached_ && box && box->isChecked();
}

void QtControls::setTicked(std::string_view checkBox, bool ticked) {
    auto* box = qobject_cast<QCheckBox*>(widget(checkBox));
    assert(box);
    if (!attached_ || !box || box->isChecked() == ticked) return; // same state: no change, no repaint
    // setChecked() emits no clicked(), which alone stands for the operator's Click.
    box->setChecked(ticked);
    if (box->isVisible()) box->repaint();
}

bool QtControls::visible(std::string_view control) const {
    QWidget* w = widget(control);
    return attached_ && w && !w->isHidden();
}

void QtControls::setVisible(std::string_view control, bool visible) {
    QWidget* w = widget(control);
    if (!attached_ || !w || w->isHidden() != visible) return; // same state: no change, no repaint
    w->setVisible(visible);
}

void QtControls::setInterval(std::string_view name, std::int32_t milliseconds) {
    ControlTimer* t = timer(name);
    if (!attached_ || !t) return;
    t->setInterval(milliseconds);
}

std::int32_t QtControls::interval(std::string_view name) const {
    ControlTimer* t = timer(name);
    return attached_ && t ? t->interval() : 0;
}

void QtControls::setAlwaysOnTop(bool onTop) {
    if (attached_ && window_) window_->setKeepOnTop(onTop);
}

bool QtControls::alwaysOnTop() const { return attached_ && window_ && window_->keepOnTop(); }

void QtControls::giveFocus(std::string_view control) {
    QWidget* w = widget(control);
    if (!attached_ || !w) return;
    w->setFocus(Qt::OtherFocusReason);
}

std::string QtControls::focusedControl() const {
    if (!attached_ || !window_) return {};
    const QWidget* focus = window_->focusWidget();
    for (const auto& [name, entry] : entries_) {
        if (entry.widget && entry.widget == focus) return name;
    }
    return {};
}

void QtControls::closeMainWindow() {
    if (attached_) queueClose_();
}

} // namespace vostrel::platform::qt

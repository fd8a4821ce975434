#include "platform/sim/sim_window.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

#include "platform/timer_rules.h"

namespace vostrel::platform::sim {
namespace {

// Characters, not bytes: the typing limit counts what the operator sees.
std::size_t codePoints(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

std::size_t nextCodePointEnd(std::string_view utf8, std::size_t from) {
    std::size_t i = from + 1;
    while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
    return i;
}

} // namespace

SimWindow::SimWindow(const WindowDescription& description, Hooks hooks)
    : description_(description), hooks_(std::move(hooks)) {
    std::size_t index = 0;
    for (const ControlDescription& described : description_.controls) {
        Control c;
        c.described = &described;
        c.index = index++;
        c.text = described.text;
        c.items = described.items;
        c.visible = described.kind != ControlKind::Timer && described.visible;
        auto [it, inserted] = controls_.emplace(described.name, std::move(c));
        if (!inserted) throw std::invalid_argument("duplicate control " + described.name);
        if (described.kind == ControlKind::Timer) timers_.push_back(&it->second);
    }
    for (const EventBinding& b : description_.bindings) {
        Control& c = at(b.control);
        switch (b.event) {
        case ControlEvent::Click: c.onClick = b.handler; break;
        case ControlEvent::Tick: c.onTick = b.handler; break;
        case ControlEvent::Change: c.onChange = b.handler; break;
        }
    }
    // Timers whose described interval is above 0 start with the window.
    for (Control* t : timers_) {
        t->interval = 0;
        setInterval(t->described->name, t->described->interval);
    }
}

SimWindow::Control& SimWindow::at(std::string_view name) {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw std::invalid_argument("no control named " + std::string(name));
    return it->second;
}

const SimWindow::Control& SimWindow::at(std::string_view name) const {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw std::invalid_argument("no control named " + std::string(name));
    return it->second;
}

SimWindow::Control& SimWindow::at(std::string_view name, [[maybe_unused]] ControlKind kind) {
    Control& c = at(name);
    assert(c.described->kind == kind);
    return c;
}

const SimWindow::Control& SimWindow::at(std::string_view name, [[maybe_unused]] ControlKind kind) const {
    const Control& c = at(name);
    assert(c.described->kind == kind);
    return c;
}

bool SimWindow::change(Control& c, bool Control::*state, bool value) {
    if (!exists_ || c.*state == value) return false;
    c.*state = value;
    ++c.repaints;
    return true;
}

std::string SimWindow::text(std::string_view control) const { return at(control).text; }

void SimWindow::setText(std::string_view control, std::string_view text) {
    Control& c = at(control);
    if (!exists_) return;
    const bool dropDown = c.described->kind == ControlKind::DropDownList;
    const bool known = !dropDown || std::find(c.items.begin(), c.items.end(), text) != c.items.end();
    c.text = known ? std::string(text) : std::string();
    ++c.repaints;
}

void SimWindow::setItems(std::string_view dropDownList, const std::vector<std::string>& items) {
    Control& c = at(dropDownList, ControlKind::DropDownList);
    if (!exists_) return;
    c.items = items;
    if (std::find(items.begin(), items.end(), c.text) == items.end()) c.text.clear();
    ++c.repaints;
}

void SimWindow::setAlert(std::string_view label, bool alert) {
    change(at(label, ControlKind::TransparentLabel), &Control::alert, alert);
}

bool SimWindow::ticked(std::string_view checkBox) const { return at(checkBox, ControlKind::CheckBox).ticked; }

void SimWindow::setTicked(std::string_view checkBox, bool ticked) {
    change(at(checkBox, ControlKind::CheckBox), &Control::ticked, ticked);
}

bool SimWindow::visible(std::string_view control) const { return at(control).visible; }

void SimWindow::setVisible(std::string_view control, bool visible) {
    Control& c = at(control);
    assert(c.described->kind != ControlKind::Timer);
    if (change(c, &Control::visible, visible) && !visible && focus_ == control) focus_.clear();
}

void SimWindow::setInterval(std::string_view timer, std::int32_t milliseconds) {
    Control& t = at(timer, ControlKind::Timer);
    if (!exists_) return;
    switch (timerChangeFor(t.interval, milliseconds)) {
    case TimerChange::None: return;
    case TimerChange::Stop: t.interval = 0; return;
    case TimerChange::Restart:
        t.interval = normaliseInterval(milliseconds);
        t.nextDue = hooks_.now() + static_cast<std::uint64_t>(t.interval);
        return;
    }
}

std::int32_t SimWindow::interval(std::string_view timer) const { return at(timer).interval; }

void SimWindow::setAlwaysOnTop(bool onTop) {
    if (!exists_ || alwaysOnTop_ == onTop) return;
    alwaysOnTop_ = onTop;
    ++alwaysOnTopChanges_;
}

bool SimWindow::canTakeFocus(const Control& c) const {
    const ControlKind k = c.described->kind;
    const bool focusable = k == ControlKind::Button || k == ControlKind::EditBox || k == ControlKind::CheckBox ||
                           k == ControlKind::DropDownList;
    return focusable && c.visible;
}

void SimWindow::giveFocus(std::string_view control) {
    if (!exists_) return;
    const Control& c = at(control);
    if (canTakeFocus(c)) focus_ = std::string(control);
}

std::string SimWindow::focusedControl() const { return exists_ ? focus_ : std::string(); }

void SimWindow::closeMainWindow() {
    if (exists_) hooks_.queueClose();
}

void SimWindow::show() {
    if (!exists_ || shown_) return;
    shown_ = true;
    // A window that appears gives the focus to the first control of the focus order.
    if (focus_.empty()) pressTab(false);
}

void SimWindow::destroy() {
    exists_ = false;
    shown_ = false;
    focus_.clear();
    for (Control* t : timers_) t->interval = 0;
}

std::optional<std::uint64_t> SimWindow::nextDue() const {
    std::optional<std::uint64_t> due;
    if (!exists_) return due;
    for (const Control* t : timers_)
        if (t->interval > 0 && (!due || t->nextDue < *due)) due = t->nextDue;
    return due;
}

bool SimWindow::deliverDueTick(std::uint64_t now) {
    if (!exists_) return false;
    Control* next = nullptr;
    for (Control* t : timers_)
        if (t->interval > 0 && t->nextDue <= now && (!next || t->nextDue < next->nextDue)) next = t;
    if (!next) return false;
    // Ticks never pile up: however late this one is, it is the only one delivered for the
    // periods that have passed.
    const auto period = static_cast<std::uint64_t>(next->interval);
    next->nextDue += period;
    while (next->nextDue <= now) next->nextDue += period;
    ++next->ticks;
    if (next->onTick) next->onTick();
    return true;
}

bool SimWindow::click(std::string_view control) {
    Control& c = at(control);
    if (!exists_ || !c.visible) return false;
    if (c.described->kind == ControlKind::CheckBox) {
        c.ticked = !c.ticked;
        ++c.repaints;
    }
    if (canTakeFocus(c)) focus_ = std::string(control);
    if (c.onClick) c.onClick();
    return true;
}

bool SimWindow::choose(std::string_view dropDownList, std::string_view item) {
    Control& c = at(dropDownList, ControlKind::DropDownList);
    if (!exists_ || !c.visible || std::find(c.items.begin(), c.items.end(), item) == c.items.end()) return false;
    focus_ = std::string(dropDownList);
    if (c.text == item) return true;
    c.text = std::string(item);
    ++c.repaints;
    if (c.onChange) c.onChange();
    return true;
}

bool SimWindow::typeText(std::string_view editBox, std::string_view text) {
    Control& c = at(editBox, ControlKind::EditBox);
    if (!exists_ || !c.visible) return false;
    focus_ = std::string(editBox);
    const std::size_t limit = c.described->maxChars > 0 ? static_cast<std::size_t>(c.described->maxChars) : SIZE_MAX;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = nextCodePointEnd(text, i);
        if (codePoints(c.text) >= limit) break; // the box refuses further characters
        c.text.append(text.substr(i, end - i));
        ++c.repaints;
        i = end;
    }
    return true;
}

bool SimWindow::clearText(std::string_view editBox) {
    Control& c = at(editBox);
    if (!exists_ || !c.visible) return false;
    focus_ = std::string(editBox);
    if (!c.text.empty()) {
        c.text.clear();
        ++c.repaints;
    }
    return true;
}

void SimWindow::pressTab(bool backward) {
    if (!exists_) return;
    const auto& order = description_.focusOrder;
    if (order.empty()) return;
    const std::size_t n = order.size();
    std::size_t start = n - 1; // with no focus, forward starts at the first entry
    for (std::size_t i = 0; i < n; ++i)
        if (order[i] == focus_) start = i;
    if (focus_.empty() && backward) start = 0;
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = backward ? (start + n - step) % n : (start + step) % n;
        if (canTakeFocus(at(order[i]))) {
            focus_ = order[i];
            return;
        }
    }
}

int SimWindow::repaintCount(std::string_view control) const { return at(control).repaints; }

std::uint64_t SimWindow::timerTicks(std::string_view timer) const { return at(timer).ticks; }

} // namespace vostrel::platform::sim

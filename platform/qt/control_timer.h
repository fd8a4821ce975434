#pragma once
// One timer of the window, keeping the timer rules on top of QTimer. QTimer::start() restarts a
// running timer even when the interval stays the same, so the interval the timer runs with is
// kept here and only a real change reaches the QTimer.
//
// Qt's timers already keep the remaining rules: a precise timer's first timeout comes one
// interval after start(); due timeouts are delivered by the event loop, nested loops included;
// a timer that fell behind fires once and is rescheduled from now, so ticks never pile up.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

namespace vostrel::platform::qt {

class ControlTimer final {
public:
    explicit ControlTimer(QObject* parent);

    void setInterval(std::int32_t milliseconds);
    std::int32_t interval() const { return current_; }
    void onTick(std::function<void()> handler);
    void stop();

private:
    QTimer* timer_; // owned by the parent QObject
    std::int32_t current_ = 0;
};

} // namespace vostrel::platform::qt

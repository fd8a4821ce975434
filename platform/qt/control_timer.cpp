#include "platform/qt/control_timer.h"

#include "platform/timer_rules.h"

namespace vostrel::platform::qt {

ControlTimer::ControlTimer(QObject* parent) : timer_(new QTimer(parent)) {
    // Hold-offs of several minutes must end within seconds of their due time; a coarse timer may
    // be off by 5 %.
    timer_->setTimerType(Qt::PreciseTimer);
}

void ControlTimer::setInterval(std::int32_t milliseconds) {
    switch (timerChangeFor(current_, milliseconds)) {
    case TimerChange::None: return;
    case TimerChange::Stop:
        timer_->stop();
        current_ = 0;
        return;
    case TimerChange::Restart:
        current_ = normaliseInterval(milliseconds);
        timer_->start(current_); // stops a running countdown and starts afresh from now
        return;
    }
}

void ControlTimer::onTick(std::function<void()> handler) {
    QObject::connect(timer_, &QTimer::timeout, timer_, std::move(handler));
}

void ControlTimer::stop() {
    timer_->stop();
    current_ = 0;
}

} // namespace vostrel::platform::qt

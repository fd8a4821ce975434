#pragma once
// The UI thread's event loop on Qt.
//
// waitForEvents(): Qt has no call that blocks until an event is due without dispatching it. The
// wait here blocks in Qt's dispatcher (no CPU used) and returns as soon as something has been
// dispatched or the time is up; whatever arrived is therefore handled inside the wait rather
// than in the caller's next processPendingEvents(), which is the same nesting for the handler.
#include "platform/event_loop.h"
#include "platform/qt/qt_window_host.h"

namespace vostrel::platform::qt {

class QtEventLoop final : public EventLoop {
public:
    explicit QtEventLoop(QtWindowHost& host) : host_(host) {}
    void run() override;
    void processPendingEvents() override;
    void waitForEvents(std::int32_t milliseconds) override;

private:
    QtWindowHost& host_;
};

} // namespace vostrel::platform::qt

#pragma once
// The UI thread's event loop.
//
// Contract (UI thread only)
// - run(): takes and dispatches events (clicks, keys, timer ticks, repaints, the queued
//   close) one at a time until the main window has been destroyed, then returns.
// - processPendingEvents(): dispatches every event already due, then returns without
//   blocking. Handlers of those events run nested inside the caller.
// - waitForEvents(ms): blocks until an event is due or ms have passed, without using the CPU
//   while it waits. ms <= 0 returns at once. A backend whose toolkit can only wait by
//   dispatching (Qt) may run the handlers of events that arrive meanwhile, nested inside the
//   caller, exactly as processPendingEvents() would; callers must work either way.
// A handler that waits while the window stays responsive loops over these two calls.
#include <cstdint>

namespace vostrel::platform {

class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual void run() = 0;
    virtual void processPendingEvents() = 0;
    virtual void waitForEvents(std::int32_t milliseconds) = 0;
};

} // namespace vostrel::platform

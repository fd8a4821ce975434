#pragma once
#include "platform/event_loop.h"

namespace vostrel::platform::win32 {

class Win32Window;

// The thread's message queue. Every message passes the window's own keys (Tab, Esc) first.
class Win32EventLoop final : public EventLoop {
public:
    explicit Win32EventLoop(Win32Window& window) : window_(window) {}
    void run() override;
    void processPendingEvents() override;
    void waitForEvents(std::int32_t milliseconds) override;

private:
    Win32Window& window_;
};

} // namespace vostrel::platform::win32

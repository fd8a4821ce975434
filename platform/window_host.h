#pragma once
// Creation and lifetime of the one main window.
//
// Contract (UI thread only)
// 1. createMainWindow() once: builds the window hidden, every control in its described
//    state, starts the timers whose interval is above 0, then runs description.onCreated
//    (which may show message boxes and call closeMainWindow()). Returns the controls.
// 2. showMainWindow() once after that: shows it centred on the screen.
// 3. EventLoop::run() until mainWindowExists() is false.
// The Controls reference stays valid until the host is destroyed; after the window has been
// destroyed its operations do nothing.
#include "platform/controls.h"
#include "platform/window_description.h"

namespace vostrel::platform {

class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual Controls& createMainWindow(const WindowDescription& description) = 0;
    virtual void showMainWindow() = 0;
    virtual bool mainWindowExists() const = 0;
};

} // namespace vostrel::platform

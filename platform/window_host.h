#pragma once
// Creation and lifetime of the one main window.
//
// Contract (UI thread only)
// 1. createMainWindow() once: builds the window hidden, every control in its described
//    state, and starts the timers whose interval is above 0. Returns the controls. Events
//    are dispatched only from the event loop's calls (and from message boxes), never from
//    inside createMainWindow().
// 2. The caller runs the window's creation-complete handler itself (it may show message
//    boxes and call closeMainWindow()), then calls showMainWindow() once: the window appears
//    centred on the screen.
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

#pragma once
#include "platform/single_instance.h"
#include "platform/win32/file_handle.h"

namespace vostrel::platform::win32 {

// A named mutex in the session's namespace ("Local\"), held until the process ends; the system
// lets go of it however the process ends. A later copy finds the first copy's main window by
// its window class and brings it to the front itself: being the foreground process, it may.
class Win32SingleInstance final : public SingleInstance {
public:
    bool claim() override;
    void activateFirstCopy() override;

private:
    OwnedHandle mutex_;
};

} // namespace vostrel::platform::win32

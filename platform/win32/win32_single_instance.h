#pragma once
#include <windows.h>

#include "platform/single_instance.h"

namespace vostrel::platform::win32 {

// A named mutex in the session's namespace ("Local\"), held until the process ends; the system
// lets go of it however the process ends. A later copy finds the first copy's main window by
// its window class and brings it to the front itself: being the foreground process, it may.
class Win32SingleInstance final : public SingleInstance {
public:
    Win32SingleInstance() = default;
    ~Win32SingleInstance() override;
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    bool claim() override;
    void activateFirstCopy() override;

private:
    HANDLE mutex_ = nullptr;
};

} // namespace vostrel::platform::win32

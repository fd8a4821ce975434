#pragma once
#include "platform/power.h"

namespace vostrel::platform::win32 {

// SetThreadExecutionState with the system flag only: the computer stays awake, the display may
// still turn off. The request belongs to the calling (UI) thread.
class Win32PowerRequests final : public PowerRequests {
public:
    ~Win32PowerRequests() override;
    void keepAwake(bool awake) override;

private:
    bool awake_ = false;
};

} // namespace vostrel::platform::win32

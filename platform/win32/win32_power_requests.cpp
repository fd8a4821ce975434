#include "platform/win32/win32_power_requests.h"

#include <windows.h>

namespace vostrel::platform::win32 {

Win32PowerRequests::~Win32PowerRequests() { keepAwake(false); }

void Win32PowerRequests::keepAwake(bool awake) {
    if (awake == awake_) return;
    const EXECUTION_STATE state = awake ? (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) : ES_CONTINUOUS;
    if (SetThreadExecutionState(state) != 0) awake_ = awake;
}

} // namespace vostrel::platform::win32

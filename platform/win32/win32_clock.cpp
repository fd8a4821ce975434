#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace vostrel::platform::win32 {

LocalDateTime Win32Clock::localNow() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint64_t Win32Clock::tickCountMs() const { return ticks_.extend(GetTickCount()); }

} // namespace vostrel::platform::win32

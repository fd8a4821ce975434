#pragma once
#include "platform/clock.h"

namespace vostrel::platform::win32 {

// Local time from GetLocalTime, ticks from GetTickCount64 (no 49-day wrap).
class Win32Clock final : public Clock {
public:
    LocalDateTime localNow() const override;
    std::uint64_t tickCountMs() const override;
};

} // namespace vostrel::platform::win32

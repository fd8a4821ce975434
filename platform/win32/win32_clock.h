#pragma once
#include "platform/clock.h"
#include "platform/win32/tick_extender.h"

namespace vostrel::platform::win32 {

// Local time from GetLocalTime; ticks from GetTickCount (Windows XP has no GetTickCount64),
// widened so they do not wrap after 49 days.
class Win32Clock final : public Clock {
public:
    LocalDateTime localNow() const override;
    std::uint64_t tickCountMs() const override;

private:
    mutable TickExtender ticks_;
};

} // namespace vostrel::platform::win32

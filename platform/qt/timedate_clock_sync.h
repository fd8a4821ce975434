#pragma once
// Whether the clock follows a time server, as systemd's timedated tells it over the system D-Bus
// (org.freedesktop.timedate1, property NTPSynchronized: the kernel's clock is in step). The
// reply is waited for on the UI thread, for at most a second; no system bus, no timedated (a
// desktop without systemd), a refusal or no answer in time all leave the question open.
#include "platform/clock_sync.h"

namespace vostrel::platform::qt {

class TimedateClockSync final : public ClockSync {
public:
    std::optional<bool> synchronised() override;
};

} // namespace vostrel::platform::qt

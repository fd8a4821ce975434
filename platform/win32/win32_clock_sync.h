#pragma once
#include "platform/clock_sync.h"

namespace vostrel::platform::win32 {

// The Windows Time service's own setting, which any user may read on every Windows from XP
// on: whether it is set to follow a time server (the Date and Time panel's "synchronise with an
// Internet time server", or a domain's time) and not disabled. Windows keeps no record of the
// last synchronisation that a user without rights could read on XP (w32tm's status query came
// with Vista and wants administrator rights), so a configured service counts as in step.
// Nothing when the service is not installed or its setting cannot be read.
class Win32ClockSync final : public ClockSync {
public:
    std::optional<bool> synchronised() override;
};

} // namespace vostrel::platform::win32

#pragma once
// The Windows backend's small services, each a thin adapter of one system facility: the clock,
// the Windows Time service's setting, the shell's "open" action and the power requests.
#include "platform/clock.h"
#include "platform/clock_sync.h"
#include "platform/power.h"
#include "platform/shell.h"
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

// ShellExecuteW's "open": the address goes to its handler (the browser), unwaited for.
class Win32Shell final : public Shell {
public:
    void openWebPage(std::string_view address) override;
};

// SetThreadExecutionState with the system flag only: the computer stays awake, the display may
// still turn off. The request belongs to the calling (UI) thread and ends with the object.
class Win32PowerRequests final : public PowerRequests {
public:
    ~Win32PowerRequests() override;
    void keepAwake(bool awake) override;

private:
    bool awake_ = false;
};

} // namespace vostrel::platform::win32

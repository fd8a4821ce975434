#pragma once
// The desktop session's services the Linux program uses, each through its freedesktop.org
// interface: a web page opened by the desktop's handler, the session kept awake by logind, the
// clock's time-server state from timedated. Each asks and never waits long: without the service
// (no system bus, a desktop without systemd, no handler) the program runs as before.
#include <QDBusUnixFileDescriptor>

#include "platform/clock_sync.h"
#include "platform/power.h"
#include "platform/shell.h"

namespace vostrel::platform::qt {

// The shell's "open" action through Qt's desktop services, which hand the address to the
// desktop's handler (xdg-open, or the desktop portal in a sandbox). Never waited for; a desktop
// without a handler is as silent as a failed open.
class XdgShell final : public Shell {
public:
    void openWebPage(std::string_view address) override;
};

// Keeping the session awake through a logind sleep inhibitor (org.freedesktop.login1, over the
// system D-Bus). logind hands out a file descriptor; the inhibitor holds while it is open, so
// releasing is closing it (the object's end does too), and a crash releases it as well. Without
// a system bus or logind the request fails silently.
class LogindPower final : public PowerRequests {
public:
    void keepAwake(bool awake) override;
    bool holdsInhibitor() const { return inhibitor_.isValid(); }

private:
    bool awake_ = false;
    QDBusUnixFileDescriptor inhibitor_;
};

// Whether the clock follows a time server, as systemd's timedated tells it over the system D-Bus
// (org.freedesktop.timedate1, property NTPSynchronized: the kernel's clock is in step). The
// reply is waited for on the UI thread, for at most a second; no system bus, no timedated, a
// refusal or no answer in time all leave the question open.
class TimedateClockSync final : public ClockSync {
public:
    std::optional<bool> synchronised() override;
};

} // namespace vostrel::platform::qt

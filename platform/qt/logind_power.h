#pragma once
// Keeping the session awake through a logind sleep inhibitor (org.freedesktop.login1, over the
// system D-Bus). logind hands out a file descriptor; the inhibitor holds while it is open, so
// releasing is closing it, and a crash releases it too. Without a system bus or logind the
// request fails silently and the program runs as before.
#include <QDBusUnixFileDescriptor>

#include "platform/power.h"

namespace vostrel::platform::qt {

class LogindPower final : public PowerRequests {
public:
    LogindPower() = default;
    ~LogindPower() override; // closing the descriptor releases the inhibitor
    LogindPower(const LogindPower&) = delete;
    LogindPower& operator=(const LogindPower&) = delete;

    void keepAwake(bool awake) override;
    bool holdsInhibitor() const { return inhibitor_.isValid(); }

private:
    bool awake_ = false;
    QDBusUnixFileDescriptor inhibitor_;
};

} // namespace vostrel::platform::qt

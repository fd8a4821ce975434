#pragma once
// Whether the system keeps its clock in step with a time server. The program only reads this,
// to warn at start that the prompts follow an unchecked clock; it never sets the clock.
//
// Contract: UI thread; answers within a second. True or false when the system says, nothing when
// it cannot be asked (no such service, no rights) or does not answer in time.
#include <optional>

namespace vostrel::platform {

class ClockSync {
public:
    virtual ~ClockSync() = default;
    virtual std::optional<bool> synchronised() = 0;
};

} // namespace vostrel::platform

#pragma once
// The shell's "open" action through xdg-open, the desktop's handler for addresses. Started
// detached and never waited for; a missing xdg-open is as silent as a failed open.
#include "platform/shell.h"

namespace vostrel::platform::qt {

class XdgShell final : public Shell {
public:
    void openWebPage(std::string_view address) override;
};

} // namespace vostrel::platform::qt

#pragma once
// The shell's "open" action through Qt's desktop services, which hand the address to the
// desktop's handler (xdg-open, or the desktop portal in a sandbox). Never waited for; a desktop
// without a handler is as silent as a failed open.
#include "platform/shell.h"

namespace vostrel::platform::qt {

class XdgShell final : public Shell {
public:
    void openWebPage(std::string_view address) override;
};

} // namespace vostrel::platform::qt

#pragma once
#include "platform/shell.h"

namespace vostrel::platform::win32 {

class Win32Shell final : public Shell {
public:
    void openWebPage(std::string_view address) override;
};

} // namespace vostrel::platform::win32

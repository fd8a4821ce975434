#pragma once
#include "platform/message_box.h"

namespace vostrel::platform::win32 {

// MessageBoxW owned by the thread's active window, if any. Its modal loop dispatches the
// thread's messages, so timer ticks and repaints of the main window go on while a box is open.
class Win32MessageBoxes final : public MessageBoxes {
public:
    void showMessage(std::string_view text, int flags, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
};

} // namespace vostrel::platform::win32

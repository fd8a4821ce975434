#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {

void Win32MessageBoxes::showMessage(std::string_view text, int flags, std::string_view title) {
    UINT style = static_cast<UINT>(flags);
    // Without an owner the box would leave the main window usable; task-modal disables it.
    if ((style & MB_SYSTEMMODAL) == 0) style |= MB_TASKMODAL;
    const std::wstring wideTitle = toWide(title.empty() ? kDefaultMessageTitle : title);
    MessageBoxW(nullptr, toWide(text).c_str(), wideTitle.c_str(), style);
}

} // namespace vostrel::platform::win32

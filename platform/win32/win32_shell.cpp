#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {

void Win32Shell::openWebPage(std::string_view address) {
    // The outcome is not examined: without a browser nothing happens and nothing is shown.
    ShellExecuteW(nullptr, L"open", toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace vostrel::platform::win32

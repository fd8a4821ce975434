#include <windows.h>

#include <cstdio>

#include "platform/console.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform {

// A console gets UTF-16, so Chinese reads right whatever its code page (cmd.exe on a Chinese
// system uses 936); anything else gets the UTF-8 bytes unchanged.
void writeToConsole(std::string_view utf8) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != INVALID_HANDLE_VALUE && out != nullptr && GetConsoleMode(out, &mode)) {
        const std::wstring wide = win32::toWide(utf8);
        DWORD written = 0;
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

} // namespace vostrel::platform

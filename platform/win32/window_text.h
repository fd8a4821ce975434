#pragma once
// The text a window or control holds, whole: its length is asked first, since a buffer of a
// guessed size would cut a long text short.
#include <windows.h>

#include <cstddef>
#include <string>

namespace vostrel::platform::win32 {

inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

} // namespace vostrel::platform::win32

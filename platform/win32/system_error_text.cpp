#include "platform/win32/system_error_text.h"

#include <memory>
#include <string_view>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

// For a code the system has no text for, which is rare enough not to need a better one.
constexpr char kUnknownErrorText[] = "系统错误 ";

struct LocalFreeDeleter {
    void operator()(wchar_t* text) const { LocalFree(text); }
};

} // namespace

std::string systemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    // Language 0: the thread's, then the user's, then the system's, as Windows shows its own.
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(buffer);
    if (length == 0 || !buffer) return kUnknownErrorText + std::to_string(error);
    std::wstring_view text(buffer, length);
    // The system ends its texts with a line break, sometimes after a space.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.remove_suffix(1);
    return toUtf8(text);
}

} // namespace vostrel::platform::win32

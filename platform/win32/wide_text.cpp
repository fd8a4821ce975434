#include "platform/win32/wide_text.h"

#include <windows.h>

namespace vostrel::platform::win32 {
namespace {

// Converts wide text to a code page; reports whether every character had a mapping.
std::string toCodePage(std::wstring_view wide, UINT codePage, bool* lossless) {
    if (lossless) *lossless = true;
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    // UTF-8 takes neither a default character nor the flag that reports its use.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int bytes =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
    if (bytes <= 0) {
        if (lossless) *lossless = false;
        return {};
    }
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), bytes, nullptr,
                        utf8 ? nullptr : &usedDefault);
    if (lossless && usedDefault) *lossless = false;
    return out;
}

} // namespace

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = static_cast<int>(utf8.size());
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (chars <= 0) return {};
    std::wstring out(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), chars);
    return out;
}

std::string toUtf8(std::wstring_view wide) { return toCodePage(wide, CP_UTF8, nullptr); }

std::string toAnsiPath(std::string_view utf8Path) {
    const std::wstring wide = toWide(utf8Path);
    bool lossless = false;
    std::string ansi = toCodePage(wide, CP_ACP, &lossless);
    if (lossless) return ansi;

    // The directory exists even when the file does not yet (the first save creates it).
    const std::size_t cut = wide.find_last_of(L"\\/");
    if (cut != std::wstring::npos) {
        const std::wstring directory = wide.substr(0, cut);
        const std::wstring name = wide.substr(cut);
        const DWORD needed = GetShortPathNameW(directory.c_str(), nullptr, 0);
        if (needed > 0) {
            std::wstring shortDirectory(needed, L'\0');
            const DWORD got = GetShortPathNameW(directory.c_str(), shortDirectory.data(), needed);
            if (got > 0 && got < needed) {
                shortDirectory.resize(got);
                bool shortLossless = false;
                std::string shortAnsi = toCodePage(shortDirectory + name, CP_ACP, &shortLossless);
                if (shortLossless) return shortAnsi;
            }
        }
    }
    return ansi;
}

} // namespace vostrel::platform::win32

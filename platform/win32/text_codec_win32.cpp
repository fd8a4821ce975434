// GBK (code page 936) through the system's own tables, so the program's bytes are exactly the
// ones the Chinese ANSI entry points produce.
#include "platform/text_codec.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vostrel::platform {
namespace {

constexpr UINT kGbk = 936;

// One GBK character (one or two bytes) to UTF-16, or nothing when the bytes are not a
// character of the code page.
bool decodeOne(const char* bytes, int count, std::wstring& out) {
    wchar_t buffer[2];
    const int chars = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, count, buffer, 2);
    if (chars <= 0) return false;
    out.append(buffer, static_cast<std::size_t>(chars));
    return true;
}

} // namespace

std::string utf8ToGbk(std::string_view utf8) {
    std::wstring wide = win32::toWide(utf8);
    // No character beyond the basic plane is in GBK: one '?' each, not one per surrogate.
    std::wstring single;
    single.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool lowFollows = i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        single.push_back(high && lowFollows ? L'?' : c);
        if (high && lowFollows) ++i;
    }
    wide.swap(single);
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(kGbk, 0, wide.data(), length, nullptr, 0, "?", nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), length, out.data(), bytes, "?", nullptr);
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    // Character by character, so that every byte the code page does not know becomes '?'
    // (the bulk conversion would substitute a character of its own choosing).
    std::wstring wide;
    wide.reserve(gbk.size());
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto byte = static_cast<unsigned char>(gbk[i]);
        if (byte < 0x80) {
            wide.push_back(static_cast<wchar_t>(byte));
            ++i;
            continue;
        }
        if (IsDBCSLeadByteEx(kGbk, byte) && i + 1 < gbk.size() && decodeOne(gbk.data() + i, 2, wide)) {
            i += 2;
            continue;
        }
        if (decodeOne(gbk.data() + i, 1, wide)) {
            ++i;
            continue;
        }
        wide.push_back(L'?');
        ++i;
    }
    return win32::toUtf8(wide);
}

} // namespace vostrel::platform

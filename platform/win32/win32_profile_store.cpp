#include "platform/win32/win32_profile_store.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/text_codec.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr UINT kGbk = 936;

// Drops a lead byte left without its trail byte where the buffer cut the value.
std::string withoutCutCharacter(std::string gbk) {
    std::size_t i = 0;
    std::size_t lastStart = 0;
    bool lastIsLead = false;
    while (i < gbk.size()) {
        lastStart = i;
        lastIsLead = IsDBCSLeadByteEx(kGbk, static_cast<BYTE>(gbk[i])) != 0;
        i += lastIsLead ? 2 : 1;
    }
    if (lastIsLead && i > gbk.size()) gbk.resize(lastStart);
    return gbk;
}

} // namespace

std::string Win32ProfileStore::readString(std::string_view section, std::string_view key, std::string_view path,
                                          std::size_t bufferBytes) {
    if (section.empty() || key.empty() || path.empty() || bufferBytes == 0) return {};
    const std::string gbkSection = utf8ToGbk(section);
    const std::string gbkKey = utf8ToGbk(key);
    const std::string ansiPath = toAnsiPath(path);
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bufferBytes, INT_MAX));
    std::vector<char> buffer(size, '\0');
    const DWORD got =
        GetPrivateProfileStringA(gbkSection.c_str(), gbkKey.c_str(), "", buffer.data(), size, ansiPath.c_str());
    // Some implementations count a terminator they wrote where the cut fell; the text ends
    // at the first NUL either way.
    const std::size_t length = strnlen(buffer.data(), std::min<DWORD>(got, size - 1));
    return gbkToUtf8(withoutCutCharacter(std::string(buffer.data(), length)));
}

bool Win32ProfileStore::writeString(std::string_view section, std::string_view key, std::string_view value,
                                    std::string_view path) {
    if (section.empty() || key.empty() || path.empty()) return false;
    const std::string gbkSection = utf8ToGbk(section);
    const std::string gbkKey = utf8ToGbk(key);
    const std::string gbkValue = utf8ToGbk(value);
    const std::string ansiPath = toAnsiPath(path);
    return WritePrivateProfileStringA(gbkSection.c_str(), gbkKey.c_str(), gbkValue.c_str(), ansiPath.c_str()) != 0;
}

} // namespace vostrel::platform::win32

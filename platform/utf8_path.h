#pragma once
// UTF-8 names and std::filesystem::path, for code that opens files with the C++ library (the
// audio engine, the sound check). Both ways go through a u8string so that non-ASCII names reach
// the OS intact on every platform: a narrow string is in the Windows code page there.
#include <filesystem>
#include <string>
#include <string_view>

namespace vostrel::platform {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace vostrel::platform

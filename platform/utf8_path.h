#pragma once
// A UTF-8 name as a std::filesystem::path, for code that opens files with the C++ library (the
// audio engine, the sound check). Built from a u8string so that non-ASCII names reach the OS
// intact on every platform: a narrow string would be read in the Windows code page.
#include <filesystem>
#include <string>
#include <string_view>

namespace vostrel::platform {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

} // namespace vostrel::platform

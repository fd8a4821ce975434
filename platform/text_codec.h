#pragma once
// Conversion between the program's UTF-8 and code page 936 (GBK), used where bytes of that
// code page matter (the settings file, the byte rules of the time entry).
// Contract: any thread. Bytes that cannot be converted become '?'.
#include <string>
#include <string_view>

namespace vostrel::platform {

std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

// The first byte of a double-byte character of code page 936: any byte from 0x80. The byte after
// it belongs to the same character, whatever its value.
inline bool isLeadByte(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }

} // namespace vostrel::platform

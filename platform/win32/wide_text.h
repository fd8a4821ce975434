#pragma once
// UTF-8 inside the program, UTF-16 (or the ANSI code page) at the Windows call.
#include <string>
#include <string_view>

namespace vostrel::platform::win32 {

// Invalid UTF-8 becomes U+FFFD; the conversion never fails.
std::wstring toWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::wstring_view wide);

// A path for the ANSI ("A") entry points. The ANSI form of the path when every character
// has one; otherwise the short (8.3) form of its directory, which is plain ASCII, followed by
// the file name; when the volume keeps no short names either, the best ANSI form (the call
// then fails, as it would on any program that uses the ANSI entry points).
std::string toAnsiPath(std::string_view utf8Path);

} // namespace vostrel::platform::win32

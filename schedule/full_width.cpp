#include "schedule/full_width.h"

namespace vostrel::schedule {
namespace {

// U+FF01..U+FF3F are EF BC 81..BF and U+FF40..U+FF5E are EF BD 80..9E; U+3000 is E3 80 80.
// Lead bytes never occur as continuation bytes, so matching these byte patterns cannot cut a
// character of valid UTF-8 in half.
constexpr unsigned char kFullWidthLead = 0xEF;
constexpr char32_t kFullWidthFirst = 0xFF01, kFullWidthLast = 0xFF5E;
constexpr char32_t kFullWidthToAscii = 0xFEE0;

bool isIdeographicSpace(std::string_view s, std::size_t i) {
    return i + 2 < s.size() && static_cast<unsigned char>(s[i]) == 0xE3 &&
           static_cast<unsigned char>(s[i + 1]) == 0x80 && static_cast<unsigned char>(s[i + 2]) == 0x80;
}

// The code point of a three-byte sequence starting with EF at i, or 0 when there is none.
char32_t fullWidthCodePointAt(std::string_view s, std::size_t i) {
    if (i + 2 >= s.size() || static_cast<unsigned char>(s[i]) != kFullWidthLead) return 0;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    const auto b2 = static_cast<unsigned char>(s[i + 2]);
    if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return 0;
    const char32_t cp = (char32_t{0x0F} << 12) | (char32_t{b1 & 0x3Fu} << 6) | char32_t{b2 & 0x3Fu};
    return (cp >= kFullWidthFirst && cp <= kFullWidthLast) ? cp : 0;
}

} // namespace

std::string foldFullWidth(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (const char32_t cp = fullWidthCodePointAt(utf8, i)) {
            out.push_back(static_cast<char>(cp - kFullWidthToAscii));
            i += 3;
        } else if (isIdeographicSpace(utf8, i)) {
            out.push_back(' ');
            i += 3;
        } else {
            out.push_back(utf8[i]);
            ++i;
        }
    }
    return out;
}

} // namespace vostrel::schedule

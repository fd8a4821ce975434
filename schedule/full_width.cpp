#include "schedule/full_width.h"

namespace vostrel::schedule {
namespace {

// U+FF01..U+FF3F are EF BC 81..BF and U+FF40..U+FF5E are EF BD 80..9E; U+3000 is E3 80 80.
// Lead bytes never occur as continuation bytes, so matching these byte patterns cannot cut a
// character of valid UTF-8 in half.
constexpr char32_t kFullWidthFirst = 0xFF01, kFullWidthLast = 0xFF5E;
constexpr char32_t kFullWidthToAscii = 0xFEE0;

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool isIdeographicSpace(std::string_view s, std::size_t i) {
    return i + 2 < s.size() && byteAt(s, i) == 0xE3 && byteAt(s, i + 1) == 0x80 && byteAt(s, i + 2) == 0x80;
}

// The code point of a full-width form starting at i, or 0 when there is none.
char32_t fullWidthCodePointAt(std::string_view s, std::size_t i) {
    if (i + 2 >= s.size() || byteAt(s, i) != 0xEF) return 0;
    const unsigned char b1 = byteAt(s, i + 1), b2 = byteAt(s, i + 2);
    if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return 0;
    const char32_t cp = (char32_t{0x0F} << 12) | (char32_t{b1 & 0x3Fu} << 6) | char32_t{b2 & 0x3Fu};
    return (cp >= kFullWidthFirst && cp <= kFullWidthLast) ? cp : 0;
}

} // namespace

FoldedChar foldedCharAt(std::string_view utf8, std::size_t i) {
    if (const char32_t cp = fullWidthCodePointAt(utf8, i)) return {static_cast<char>(cp - kFullWidthToAscii), 3};
    if (isIdeographicSpace(utf8, i)) return {' ', 3};
    return {utf8[i], 1};
}

std::string foldFullWidth(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const FoldedChar c = foldedCharAt(utf8, i);
        out.push_back(c.value);
        i += c.length;
    }
    return out;
}

} // namespace vostrel::schedule

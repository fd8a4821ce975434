#pragma once
// Full-width forms typed with a Chinese input method, folded to their half-width meaning so
// that "０９" reads like "09".
#include <cstddef>
#include <string>
#include <string_view>

namespace vostrel::schedule {

struct FoldedChar {
    char value;         // the byte as it stands, or the folded ASCII character
    std::size_t length; // bytes of the text it stands for
};

// The character at byte offset i (< size), folded: U+FF01..U+FF5E (！ to ～) give the ASCII
// character of the same meaning and U+3000 (ideographic space) a space; any other byte,
// malformed ones included, stands for itself.
FoldedChar foldedCharAt(std::string_view utf8, std::size_t i);

// The whole text folded.
std::string foldFullWidth(std::string_view utf8);

} // namespace vostrel::schedule

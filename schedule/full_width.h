#pragma once
// Full-width forms typed with a Chinese input method, folded to their half-width meaning so
// that "０９" reads like "09".
#include <string>
#include <string_view>

namespace vostrel::schedule {

// Replaces every character U+FF01..U+FF5E (！ to ～) of the UTF-8 text by the ASCII character
// of the same meaning and U+3000 (ideographic space) by a space. Everything else, malformed
// bytes included, is kept as it is.
std::string foldFullWidth(std::string_view utf8);

} // namespace vostrel::schedule

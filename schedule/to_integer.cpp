#include "schedule/to_integer.h"

#include <algorithm>
#include <limits>

#include "schedule/c_char_class.h"
#include "schedule/full_width.h"

namespace vostrel::schedule {
// Folds as it reads: every poll converts sixteen texts, so no folded copy is made.
std::int32_t toInteger(std::string_view utf8) {
    std::size_t i = 0;
    auto peek = [&]() -> FoldedChar { return i < utf8.size() ? foldedCharAt(utf8, i) : FoldedChar{'\0', 0}; };

    FoldedChar c = peek();
    while (isCSpace(c.value)) {
        i += c.length;
        c = peek();
    }
    bool negative = false;
    if (c.value == '+' || c.value == '-') {
        negative = c.value == '-';
        i += c.length;
        c = peek();
    }
    // Magnitude limit of the result's sign; accumulating stops there so nothing overflows.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    while (isDigit(c.value)) {
        magnitude = std::min(magnitude * 10 + (c.value - '0'), limit);
        i += c.length;
        c = peek();
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace vostrel::schedule

#pragma once
// Reading the stored time texts as whole numbers, as leniently as the operator types them.
#include <cstdint>
#include <string_view>

namespace vostrel::schedule {

// Folds full-width forms, then reads a leading decimal integer: leading white space, one
// optional sign, digits up to the first non-digit. No digits give 0. Values beyond the 32-bit
// range saturate at INT32_MAX or INT32_MIN.
std::int32_t toInteger(std::string_view utf8);

} // namespace vostrel::schedule

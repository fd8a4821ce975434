// The time-text helpers on any text: splitText's pieces joined by the separator give the text
// back, and toNumber and toInteger read a plain ASCII text as the C library does (strtod and
// strtol in the "C" locale), wherever its rules are theirs: no hexadecimal numbers, infinities
// or NaNs, no subnormal results, and 32-bit saturation for toInteger.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "platform/text_codec.h"
#include "schedule/to_integer.h"
#include "settings/time_text.h"

namespace vostrel::fuzz {

namespace {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// What strtod reads beyond the decimal numbers toNumber knows: "0x1p3", "inf", "nan".
bool strtodHasMoreRules(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::string_view rest = text.substr(i);
    return rest.starts_with("0x") || rest.starts_with("0X") ||
           (!rest.empty() && std::string_view("iInN").find(rest.front()) != std::string_view::npos);
}

void checkSplit(std::string_view text, std::string_view separator) {
    const std::vector<std::string> pieces = settings::splitText(text, separator);
    // Only texts that code page 936 holds come back unchanged; others come back with '?'.
    const bool representable = platform::gbkToUtf8(platform::utf8ToGbk(text)) == text &&
                               platform::gbkToUtf8(platform::utf8ToGbk(separator)) == separator;
    if (separator.empty() || !representable) return;
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined += separator;
        joined += pieces[i];
    }
    // A separator at the very end leaves no empty last piece.
    FUZZ_EXPECT(joined == text || joined + std::string(separator) == text);
    FUZZ_EXPECT(text.empty() == pieces.empty());
}

void checkToNumber(const std::string& text) {
    if (!isAscii(text) || strtodHasMoreRules(text)) return;
    const double expected = std::strtod(text.c_str(), nullptr);
    if (std::fpclassify(expected) == FP_SUBNORMAL) return; // toNumber gives 0 below the normal range
    const double read = settings::toNumber(text);
    FUZZ_EXPECT(read == expected);
    FUZZ_EXPECT(std::signbit(read) == std::signbit(expected));
}

void checkToInteger(const std::string& text) {
    if (!isAscii(text)) return;
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    const long long saturated = std::clamp<long long>(expected, INT32_MIN, INT32_MAX);
    FUZZ_EXPECT(schedule::toInteger(text) == saturated);
}

} // namespace

int timeText(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string_view separator = cut == std::string_view::npos ? std::string_view(":") : input.substr(0, cut);
    const std::string_view text = cut == std::string_view::npos ? input : input.substr(cut + 1);
    checkSplit(text, separator);
    // The C functions stop at a NUL byte: compare up to the first one.
    const std::string cText(text.substr(0, text.find('\0')));
    checkToNumber(cText);
    checkToInteger(cText);
    return 0;
}

} // namespace vostrel::fuzz

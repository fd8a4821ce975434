#include "settings/time_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

#include "platform/text_codec.h"
#include "schedule/c_char_class.h"

namespace vostrel::settings {
namespace {

using platform::isLeadByte;
using schedule::isCSpace;
using schedule::isDigit;

// The full-width forms of code page 936, folded to single bytes. Other double-byte
// characters and single bytes are copied unchanged.
std::string foldFullWidthGbk(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        if (!isLeadByte(gbk[i]) || i + 1 == gbk.size()) {
            out += gbk[i++];
            continue;
        }
        const auto first = static_cast<unsigned char>(gbk[i]);
        const auto second = static_cast<unsigned char>(gbk[i + 1]);
        if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
            out += static_cast<char>(second & 0x7F);
        } else if (first == 0xA1 && second == 0xA1) {
            out += ' ';
        } else if (first == 0xA1 && second == 0xAB) {
            out += '~';
        } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
            out += '*';
        } else {
            out.append(gbk.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

// Length of the decimal number at the start of s (digits, point, exponent), 0 when none.
// Also estimates the number's decimal exponent, used when it does not fit a double.
std::size_t decimalNumberLength(std::string_view s, long long& decimalExponent) {
    std::size_t i = 0;
    std::size_t digits = 0;
    long long integerDigits = 0;   // significant digits before the point
    long long zerosAfterPoint = 0; // zeros after the point before the first significant digit
    bool significant = false;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
        if (s[i] != '0') significant = true;
        if (significant) ++integerDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
            if (s[i] != '0') significant = true;
            if (!significant) ++zerosAfterPoint;
        }
    }
    if (digits == 0) return 0;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
        if (j < s.size() && isDigit(s[j])) {
            for (; j < s.size() && isDigit(s[j]); ++j) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
            }
            if (negative) exponent = -exponent;
            i = j;
        }
    }
    decimalExponent = (integerDigits > 0 ? integerDigits - 1 : -zerosAfterPoint - 1) + exponent;
    return i;
}

double readLikeAtof(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::string_view rest = s.substr(i);
    long long decimalExponent = 0;
    const std::size_t length = decimalNumberLength(rest, decimalExponent);
    if (length == 0) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(rest.data(), rest.data() + length, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = decimalExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) return {std::string(text)};
    const std::string gbk = platform::utf8ToGbk(text);
    const std::string sep = platform::utf8ToGbk(separator);
    std::size_t pieceStart = 0;
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        if (gbk.compare(pos, sep.size(), sep) == 0) {
            pieces.push_back(platform::gbkToUtf8(std::string_view(gbk).substr(pieceStart, pos - pieceStart)));
            pos += sep.size();
            pieceStart = pos;
            continue;
        }
        pos += isLeadByte(gbk[pos]) ? 2 : 1;
    }
    if (pieceStart < gbk.size()) pieces.push_back(platform::gbkToUtf8(std::string_view(gbk).substr(pieceStart)));
    return pieces;
}

double toNumber(std::string_view text) { return readLikeAtof(foldFullWidthGbk(platform::utf8ToGbk(text))); }

std::string numberToText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return std::string(buffer, result.ptr);
}

} // namespace vostrel::settings

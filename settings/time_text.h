#pragma once
// Text helpers of the start-time entry. The program holds UTF-8, but the rules are byte rules
// of code page 936 (the texts operators type and the settings file hold): each helper converts
// to GBK, applies the rule to the bytes and converts pieces back. Characters that code page
// 936 cannot represent come back as '?' in the pieces; they never form a number anyway.
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::settings {

// The pieces of text between occurrences of separator. The scan steps over a double-byte
// character as a whole, so the separator is never found inside one. Every piece before a
// separator is kept (also an empty one); the remainder after the last separator only when
// it is not empty. "09:00" -> {"09","00"}; ":30" -> {"","30"}; "9:" -> {"9"}; ":" -> {""};
// "" -> {}. An empty separator gives the whole text as one piece.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// The text read as a decimal number after folding full-width forms: the full-width ASCII row
// (０-９, ：, ＋, －, ．...) becomes ASCII, the ideographic space a space, ～ a tilde and ☆/★
// an asterisk. Reading is that of the C library's atof in the "C" locale, whatever locale
// the process runs in: leading white space, an optional sign, digits with an optional decimal
// point and exponent, as far as they form a number. "09" -> 9, "7a" -> 7, "ab" and "" -> 0.
// A magnitude too large for a double gives +-infinity, one too small 0.
double toNumber(std::string_view text);

// The value formatted like C's "%.13g" in the "C" locale: 11, 5, 10.5, -1.
std::string numberToText(double value);

} // namespace vostrel::settings

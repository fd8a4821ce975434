#pragma once
// The character classes of the "C" locale that the readers of typed numbers use, without a
// locale lookup and safe for any char (<cctype> is undefined for negative values).

namespace vostrel::schedule {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// Space, \t, \n, \v, \f and \r.
inline bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace vostrel::schedule

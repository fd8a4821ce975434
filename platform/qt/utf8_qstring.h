#pragma once
// The program's UTF-8 text as Qt's text.
#include <QString>
#include <string_view>

namespace vostrel::platform::qt {

inline QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

} // namespace vostrel::platform::qt

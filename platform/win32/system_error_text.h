#pragma once
// The system's own words for an error code, in the system's language, as UTF-8 for the operator.
#include <windows.h>

#include <string>

namespace vostrel::platform::win32 {

std::string systemErrorText(DWORD error);

} // namespace vostrel::platform::win32

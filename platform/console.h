#pragma once
// Text for a console tool's user: UTF-8 inside, whatever the console takes outside. A Windows
// console shows it in any code page; redirected output (a pipe, a file) gets the UTF-8 bytes.
#include <string_view>

namespace vostrel::platform {

void writeToConsole(std::string_view utf8);

} // namespace vostrel::platform

#include <cstdio>

#include "platform/console.h"

namespace vostrel::platform {

void writeToConsole(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

} // namespace vostrel::platform

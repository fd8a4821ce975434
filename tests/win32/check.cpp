#include "tests/win32/check.h"

#include <cstdio>

namespace vostrel::win32_test {
namespace {
int passed = 0;
int failed = 0;
} // namespace

void check(bool ok, std::string_view what) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
    std::fflush(stdout);
}

int failures() { return failed; }
int passes() { return passed; }

} // namespace vostrel::win32_test

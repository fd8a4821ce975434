#pragma once
// Property checks of the fuzz targets. A broken property prints what broke and aborts, which
// libFuzzer reports as a crash and saves with the input that caused it; the regression test
// that replays committed inputs fails the same way.
#include <cstdio>
#include <cstdlib>

namespace vostrel::fuzz {

[[noreturn]] inline void propertyBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

} // namespace vostrel::fuzz

#define FUZZ_EXPECT(condition)                                                                                         \
    ((condition) ? static_cast<void>(0) : ::vostrel::fuzz::propertyBroken(#condition, __FILE__, __LINE__))

// Linked into the portable program and its sound check alone (scripts/package-linux). This
// machine's static libstdc++ was built against a newer glibc and refers to two symbols that glibc
// 2.31 lacks: __libc_single_threaded (glibc 2.32) and arc4random (glibc 2.36, used by
// std::random_device only, which neither program uses). Definitions of the programs' own keep
// them on glibc 2.31; they are hidden, so no library binds to them.
#include <errno.h>
#include <stdint.h>
#include <sys/random.h>

// 0 means "other threads may exist": libstdc++ always takes its thread-safe paths.
__attribute__((visibility("hidden"))) char __libc_single_threaded = 0;

__attribute__((visibility("hidden"))) uint32_t arc4random(void) {
    uint32_t value = 0;
    while (getrandom(&value, sizeof value, 0) < 0 && errno == EINTR) {
    }
    return value;
}

#include "settings/wait.h"

#include <algorithm>
#include <cstdint>

namespace vostrel::settings {

void wait(platform::EventLoop& loop, const platform::Clock& clock, std::int32_t milliseconds) {
    if (milliseconds <= 0) return;
    const std::uint64_t deadline = clock.tickCountMs() + static_cast<std::uint64_t>(milliseconds);
    for (;;) {
        loop.processPendingEvents();
        const std::uint64_t now = clock.tickCountMs();
        if (now > deadline) return;
        // Sleep until the next event or the first millisecond past the deadline.
        const std::uint64_t remaining = deadline - now + 1;
        loop.waitForEvents(static_cast<std::int32_t>(std::min<std::uint64_t>(remaining, INT32_MAX)));
    }
}

} // namespace vostrel::settings

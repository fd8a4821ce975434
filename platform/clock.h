#pragma once
// Local wall-clock time and a monotonic millisecond tick count.
// Contract: both calls are cheap and may be called from any thread.
#include <cstdint>

namespace vostrel::platform {

struct LocalDateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0; // local wall-clock fields
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime localNow() const = 0;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::uint64_t tickCountMs() const = 0;
};

} // namespace vostrel::platform

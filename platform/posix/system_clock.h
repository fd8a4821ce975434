#pragma once
// The local wall clock and a monotonic tick count from the C++ library (both follow a clock moved
// by libfaketime, which the desktop tests rely on).
#include "platform/clock.h"

namespace vostrel::platform {

class SystemClock final : public Clock {
public:
    LocalDateTime localNow() const override;
    std::uint64_t tickCountMs() const override;
};

} // namespace vostrel::platform

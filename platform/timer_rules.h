#pragma once
// The part of the timer rules that is the same on every backend: what a new interval means
// for a timer that has `current`. Backends keep the current interval per timer and only start
// or stop their native timer as told.
#include <algorithm>
#include <cstdint>

namespace vostrel::platform {

enum class TimerChange { None, Stop, Restart };

inline std::int32_t normaliseInterval(std::int32_t requested) { return std::max<std::int32_t>(requested, 0); }

// current: the interval the timer has now (0 = stopped).
inline TimerChange timerChangeFor(std::int32_t current, std::int32_t requested) {
    const std::int32_t next = normaliseInterval(requested);
    if (next == current) return TimerChange::None; // rule 3: a running countdown goes on
    if (next == 0) return TimerChange::Stop;       // rule 2
    return TimerChange::Restart;                   // rules 1 and 4
}

} // namespace vostrel::platform

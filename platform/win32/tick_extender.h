#pragma once
// GetTickCount's 32-bit millisecond count wraps every 49.7 days; Windows XP has nothing wider.
// TickExtender turns successive readings into a 64-bit count that never wraps, provided it
// sees at least one reading per wrap period (the window's timers read the clock every second).
// Safe to call from several threads: the last extended reading is one atomic word.
#include <atomic>
#include <cstdint>

namespace vostrel::platform::win32 {

class TickExtender {
public:
    std::uint64_t extend(std::uint32_t reading) {
        std::uint64_t last = last_.load(std::memory_order_relaxed);
        for (;;) {
            const auto lastLow = static_cast<std::uint32_t>(last);
            // A reading taken just before another thread's newer one: that one stands.
            if (reading < lastLow && lastLow - reading < kHalfWrap) return last;
            std::uint64_t next = (last & kHighMask) | reading;
            if (reading < lastLow) next += kWrap; // the low word wrapped since the last reading
            if (next == last || last_.compare_exchange_weak(last, next, std::memory_order_relaxed)) return next;
        }
    }

private:
    static constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;
    static constexpr std::uint32_t kHalfWrap = std::uint32_t{1} << 31;
    static constexpr std::uint64_t kHighMask = ~(kWrap - 1);
    std::atomic<std::uint64_t> last_{0};
};

} // namespace vostrel::platform::win32

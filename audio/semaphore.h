#pragma once
// A counting semaphore that can also be closed: after close() every acquire returns at once,
// so a teardown wakes a thread however many times it still waits. Built on a mutex and a
// condition variable, which behave the same under every standard library we build with.
//
// A bounded count makes it a wake-up signal: with a limit of 1, any number of releases before
// an acquire wake the waiter once, so a thread that re-checks its state after every wake does
// not loop once for each release it slept through.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>

namespace vostrel::audio {

class Semaphore {
public:
    static constexpr std::int64_t kUnbounded = std::numeric_limits<std::int32_t>::max();

    explicit Semaphore(std::int64_t maxCount = kUnbounded) : maxCount_(maxCount) {}

    void release(std::int64_t count = 1);
    // Blocks until a count is available or the semaphore is closed.
    void acquire();
    // As acquire(), but gives up after the timeout; true when a count was taken or closed.
    bool tryAcquireFor(std::chrono::microseconds timeout);
    void close();

private:
    std::mutex mutex_;
    std::condition_variable available_;
    const std::int64_t maxCount_;
    std::int64_t count_ = 0;
    int waiters_ = 0; // a release wakes nobody when nobody waits
    bool closed_ = false;
};

} // namespace vostrel::audio

#pragma once
// A counting semaphore that can also be closed: after close() every acquire returns at once,
// so a teardown wakes a thread however many times it still waits. Built on a mutex and a
// condition variable, which behave the same under every standard library we build with.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vostrel::audio {

class Semaphore {
public:
    void release(std::int64_t count = 1);
    // Blocks until a count is available or the semaphore is closed.
    void acquire();
    // As acquire(), but gives up after the timeout; true when a count was taken or closed.
    bool tryAcquireFor(std::chrono::microseconds timeout);
    void close();

private:
    std::mutex mutex_;
    std::condition_variable available_;
    std::int64_t count_ = 0;
    int waiters_ = 0; // a release wakes nobody when nobody waits
    bool closed_ = false;
};

} // namespace vostrel::audio

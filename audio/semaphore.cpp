#include "audio/semaphore.h"

#include <algorithm>

namespace vostrel::audio {

void Semaphore::release(std::int64_t count) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        count_ = std::min(maxCount_, count_ + count);
        wake = waiters_ > 0;
    }
    if (wake) available_.notify_all();
}

void Semaphore::acquire() {
    std::unique_lock lock(mutex_);
    ++waiters_;
    available_.wait(lock, [&] { return closed_ || count_ > 0; });
    --waiters_;
    if (!closed_) --count_;
}

bool Semaphore::tryAcquireFor(std::chrono::microseconds timeout) {
    std::unique_lock lock(mutex_);
    ++waiters_;
    const bool available = available_.wait_for(lock, timeout, [&] { return closed_ || count_ > 0; });
    --waiters_;
    if (!available) return false;
    if (!closed_) --count_;
    return true;
}

void Semaphore::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    available_.notify_all();
}

} // namespace vostrel::audio

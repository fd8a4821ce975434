#include "audio/teardown_reaper.h"

#include <exception>

namespace vostrel::audio {

TeardownReaper::TeardownReaper(std::chrono::milliseconds handOverAfter) : handOverAfter_(handOverAfter) {}

TeardownReaper::~TeardownReaper() {
    std::unique_lock lock(mutex_);
    jobDone_.wait(lock, [this] { return allDoneLocked(); });
    reapLocked(lock);
}

void TeardownReaper::run(std::function<void()> teardown) {
    std::unique_lock lock(mutex_);
    reapLocked(lock);
    Job* job = nullptr;
    try {
        job = &jobs_.emplace_back();
        job->teardown = std::move(teardown);
        job->thread = std::thread([this, job] {
            job->teardown();
            {
                const std::lock_guard doneLock(mutex_);
                job->done = true;
            }
            jobDone_.notify_all();
        });
    } catch (const std::exception&) {
        // No memory or no thread to hand it to: the teardown runs here, however long it takes.
        if (job) {
            teardown = std::move(job->teardown);
            jobs_.pop_back();
        }
        lock.unlock();
        teardown();
        return;
    }
    jobDone_.wait_for(lock, handOverAfter_, [job] { return job->done; });
    reapLocked(lock);
}

bool TeardownReaper::finish(std::chrono::milliseconds grace) {
    std::unique_lock lock(mutex_);
    jobDone_.wait_for(lock, grace, [this] { return allDoneLocked(); });
    reapLocked(lock);
    return jobs_.empty();
}

std::size_t TeardownReaper::running() const {
    const std::lock_guard lock(mutex_);
    return jobs_.size();
}

bool TeardownReaper::allDoneLocked() const {
    for (const Job& job : jobs_) {
        if (!job.done) return false;
    }
    return true;
}

// A finished job's thread has only to return: joining it takes no time.
void TeardownReaper::reapLocked(std::unique_lock<std::mutex>& lock) {
    std::list<Job> finished;
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        const auto next = std::next(it);
        if (it->done) finished.splice(finished.end(), jobs_, it);
        it = next;
    }
    if (finished.empty()) return;
    lock.unlock();
    for (Job& job : finished) job.thread.join();
    lock.lock();
}

} // namespace vostrel::audio

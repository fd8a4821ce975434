#pragma once
// Runs teardowns that may block on a sound device, without letting them block the caller for
// long. Each teardown runs on a thread of its own; the caller waits for it at most the hand-over
// time. A teardown that has not finished by then goes on alone and is reaped (its thread joined)
// once it has: the device may let go seconds later, or never. Giving up the wait does not cut a
// teardown short: it still runs to its end, every step in its order.
//
// Contract (the teardown threads among the engine's: audio/README.md)
// - run() and finish() are called by one owner thread (the UI thread).
// - Whatever a teardown uses (the sound driver above all) is destroyed only after the reaper,
//   since a teardown may still be running until the reaper's destructor returns.
// - The destructor waits for every teardown without bound, so nothing a teardown uses is freed
//   under it. An owner that cannot wait forever calls finish() with a bound first and, if
//   something is still running, ends the process without destroying the reaper.
// Locks: mutex_ is a leaf; no teardown runs under it.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace vostrel::audio {

class TeardownReaper {
public:
    // The longest the caller of run() waits, well inside the 200 ms a removal may take.
    static constexpr std::chrono::milliseconds kHandOverAfter{150};
    // What the program gives unfinished teardowns at its end.
    static constexpr std::chrono::milliseconds kGraceAtExit{2000};

    explicit TeardownReaper(std::chrono::milliseconds handOverAfter = kHandOverAfter);
    ~TeardownReaper();
    TeardownReaper(const TeardownReaper&) = delete;
    TeardownReaper& operator=(const TeardownReaper&) = delete;

    // Starts the teardown on a thread of its own and returns when it has finished or the
    // hand-over time has passed, whichever comes first. When no thread can be started the
    // teardown runs here instead.
    void run(std::function<void()> teardown);
    // Waits at most `grace` for the teardowns still running; true when none is left.
    bool finish(std::chrono::milliseconds grace);
    // Teardowns started and not yet reaped.
    std::size_t running() const;

private:
    struct Job {
        std::function<void()> teardown;
        bool done = false; // under mutex_
        std::thread thread;
    };

    bool allDoneLocked() const;
    // Joins the threads of the finished teardowns and forgets them.
    void reapLocked(std::unique_lock<std::mutex>& lock);

    const std::chrono::milliseconds handOverAfter_;
    mutable std::mutex mutex_;
    std::condition_variable jobDone_;
    std::list<Job> jobs_; // stable addresses: each thread holds its own job
};

} // namespace vostrel::audio

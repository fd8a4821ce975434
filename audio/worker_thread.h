#pragma once
// One worker thread of the engine. create() reports failure instead of throwing, so the
// stages can turn it into a result code.
//
// Contract: the owner joins the thread before it frees anything the thread uses; the
// destructor joins a thread that was never joined.
#include <functional>
#include <thread>

namespace vostrel::audio {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `routine` on a new thread; false when the thread cannot be created.
    bool create(std::function<void()> routine);
    // Waits without time limit for the thread to end. Does nothing if there is none.
    void join();
    bool running() const { return thread_.joinable(); }

private:
    std::thread thread_;
};

} // namespace vostrel::audio

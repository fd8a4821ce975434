#pragma once
// What the three stages of a decoding pipeline share: the player they report to, a wake
// semaphore for flow control (a consumer wakes its producer when it has taken data or found
// too little; a producer wakes its consumer when it has written), a resume semaphore that
// releases a paused thread, the paused and quit flags, the input buffer and the worker thread.
//
// Contract
// - pause/resume/wake/setInput may be called from any thread.
// - shutdown() sets the quit flag and closes both semaphores, so every wait returns at once
//   from then on; the stage's thread checks the quit flag after every wait. Each derived stage
//   shuts down and joins its thread in its destructor (the engine's teardown: audio/README.md).
#include <atomic>
#include <chrono>
#include <mutex>

#include "audio/player_events.h"
#include "audio/result.h"
#include "audio/semaphore.h"
#include "audio/stream_buffer.h"
#include "audio/worker_thread.h"

namespace vostrel::audio {

class PipelineStage {
public:
    explicit PipelineStage(PlayerEventSink* owner) : owner_(owner) {}
    virtual ~PipelineStage() = default;
    PipelineStage(const PipelineStage&) = delete;
    PipelineStage& operator=(const PipelineStage&) = delete;

    virtual void pause();
    virtual void resume();
    void wake();
    void setInput(StreamBuffer* input);
    // StageError carrying the result that ended the file (and a device's reason).
    void reportError(Result result, std::string reason = {});
    // Reports a failed call as StageError; an interrupted one is the teardown, not an error.
    void reportUnlessInterrupted(Result result);
    void post(PlayerEventCode code);
    void noteDeviceUnavailable(std::string reason);

    // Blocks until woken; returns the quit flag.
    bool waitForWake();
    // As waitForWake, but gives up after the timeout.
    bool waitForWakeFor(std::chrono::microseconds timeout);
    // Blocks until resumed; returns the quit flag.
    bool waitForResume();

    bool paused() const { return paused_.load(); }
    bool quitting() const { return quit_.load(); }

protected:
    // What a thread loop's step tells the loop: go on, or end the thread (the stream is over,
    // a stage gave up or the teardown interrupted it).
    enum class Step { Again, Stop };

    void shutdown();
    StreamBuffer* input() const;

    mutable std::mutex mutex_; // guards the stage's settings
    WorkerThread thread_;

private:
    PlayerEventSink* owner_;
    // Wake-up signals, not counters: a wake means "look again", and a thread that looks again
    // sees everything that was released meanwhile.
    Semaphore wake_{1};
    Semaphore resume_{1};
    std::atomic<bool> paused_{false};
    std::atomic<bool> quit_{false};
    StreamBuffer* input_ = nullptr;
};

} // namespace vostrel::audio

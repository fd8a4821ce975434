#include "platform/sim/sim_wave_out.h"

#include <algorithm>
#include <deque>
#include <list>
#include <thread>

namespace vostrel::platform::sim {

struct SimWaveOutDriver::Shared {
    mutable std::mutex mutex;
    // Wakes the device threads and the hung calls: what they wait for has changed.
    mutable std::condition_variable changed;
    SimWaveOutMode mode = SimWaveOutMode::Instant;
    bool recordPcm = true;
    std::optional<std::size_t> stallAt;
    std::optional<SimWaveOutStep> hangAt;
    std::optional<std::string> failWrite; // the reason the next write fails with
    bool lastOpenFailed = false;
    std::uint64_t hangReleases = 0; // counts releaseHang()
    SimWaveOutRecord record;

    // A waitFor() under way. Its condition is looked at on every change of the record by the
    // thread that made it, and the waiter is woken only once it holds: a benchmark waiting for
    // the end of a five-minute file is not woken twice for every buffer.
    struct Watcher {
        const std::function<bool(const SimWaveOutRecord&)>& condition;
        std::condition_variable met;
        bool holds = false;
    };
    mutable std::list<Watcher*> watchers;

    void recordChanged() {
        for (Watcher* watcher : watchers) {
            if (watcher->holds || !watcher->condition(record)) continue;
            watcher->holds = true;
            watcher->met.notify_one();
        }
    }

    // Blocks the calling step while a hang armed for it is not released. The wait lets go of
    // the lock, so the other devices and the test go on meanwhile.
    void hangIfArmed(std::unique_lock<std::mutex>& lock, SimWaveOutStep step) {
        if (hangAt != step) return;
        hangAt.reset();
        const std::uint64_t release = hangReleases;
        ++record.hungCalls;
        recordChanged();
        changed.wait(lock, [&] { return hangReleases != release; });
        --record.hungCalls;
        recordChanged();
    }
};

namespace {

using Shared = SimWaveOutDriver::Shared;
using Kind = SimWaveOutCall::Kind;

class SimWaveOutDevice final : public WaveOutDevice {
public:
    SimWaveOutDevice(std::shared_ptr<Shared> shared, std::size_t session, WaveOutDriver::DoneCallback done)
        : shared_(std::move(shared)), session_(session), done_(std::move(done)) {
        player_ = std::thread([this] { play(); });
    }

    ~SimWaveOutDevice() override {
        {
            std::unique_lock lock(shared_->mutex);
            if (!closed_) {
                returnAllLocked();
                note(Kind::Destroy);
                closeLocked();
            }
        }
        stopThread();
    }

    WaveOutResult write(const std::uint8_t* data, std::size_t bytes, std::uintptr_t cookie) override {
        std::unique_lock lock(shared_->mutex);
        shared_->hangIfArmed(lock, SimWaveOutStep::Write);
        if (closed_) return WaveOutResult::Failed;
        if (shared_->failWrite) {
            lastError_ = *shared_->failWrite;
            shared_->failWrite.reset();
            return WaveOutResult::Failed;
        }
        queue_.push_back(Buffer{data, bytes, cookie});
        SimWaveOutSession& s = session();
        s.calls.push_back({Kind::Write, bytes, data});
        ++s.written;
        s.mostQueued = std::max(s.mostQueued, s.queued());
        if (!s.firstWriteAt) s.firstWriteAt = std::chrono::steady_clock::now();
        // Only an idle device thread waits for a buffer; one playing a buffer plays on.
        if (queue_.size() == 1) shared_->changed.notify_all();
        shared_->recordChanged();
        return WaveOutResult::Ok;
    }

    std::string lastError() const override {
        const std::lock_guard lock(shared_->mutex);
        return lastError_;
    }

    void pause() override {
        const std::lock_guard lock(shared_->mutex);
        paused_ = true;
        note(Kind::Pause);
    }

    void restart() override {
        const std::lock_guard lock(shared_->mutex);
        paused_ = false;
        note(Kind::Restart);
    }

    void reset() override {
        std::unique_lock lock(shared_->mutex);
        shared_->hangIfArmed(lock, SimWaveOutStep::Reset);
        note(Kind::Reset);
        returnAllLocked();
        paused_ = false;
    }

    WaveOutResult close() override {
        {
            std::unique_lock lock(shared_->mutex);
            shared_->hangIfArmed(lock, SimWaveOutStep::Close);
            if (closed_) return WaveOutResult::Ok;
            if (!queue_.empty()) {
                note(Kind::CloseRefused);
                return WaveOutResult::StillPlaying;
            }
            note(Kind::Close);
            closeLocked();
        }
        stopThread();
        return WaveOutResult::Ok;
    }

private:
    struct Buffer {
        const std::uint8_t* data;
        std::size_t bytes;
        std::uintptr_t cookie;
    };

    SimWaveOutSession& session() { return shared_->record.sessions[session_]; }

    // Records a call that changes how the device plays, and wakes its thread for it.
    void note(Kind kind) {
        session().calls.push_back({kind, 0, nullptr});
        shared_->changed.notify_all();
        shared_->recordChanged();
    }

    void closeLocked() {
        closed_ = true;
        session().closed = true;
        --shared_->record.openDevices;
        shared_->changed.notify_all();
        shared_->recordChanged();
    }

    void stopThread() {
        if (player_.joinable()) player_.join();
    }

    void returnAllLocked() {
        while (!queue_.empty()) {
            const Buffer buffer = queue_.front();
            queue_.pop_front();
            ++session().returnedByReset;
            done_(buffer.cookie);
        }
        ++generation_;
        shared_->changed.notify_all();
        shared_->recordChanged();
    }

    bool stalled() const { return shared_->stallAt && playedBytes_ >= *shared_->stallAt; }

    bool canPlay() { return !paused_ && !queue_.empty() && !stalled(); }

    void play() {
        std::unique_lock lock(shared_->mutex);
        while (!closed_) {
            const bool idle = !canPlay();
            shared_->changed.wait(lock, [&] { return closed_ || canPlay(); });
            if (closed_) break;
            if (idle && shared_->mode == SimWaveOutMode::Instant) {
                // Woken by a write: the writer first finishes its burst of writes, as with a
                // driver serving its queue, so a file played at full speed costs a thread
                // switch per burst, not per buffer.
                lock.unlock();
                std::this_thread::yield();
                lock.lock();
                continue;
            }
            if (shared_->mode == SimWaveOutMode::RealTime) {
                // As long as the buffer's PCM lasts; a pause, reset or close starts it over.
                const Buffer& head = queue_.front();
                const SimWaveOutSession& s = session();
                const auto lasts =
                    std::chrono::microseconds(static_cast<std::int64_t>(head.bytes) * 1000000 /
                                              std::max<std::uint32_t>(1, s.format.averageBytesPerSecond()));
                const std::uint64_t generation = generation_;
                const auto until = std::chrono::steady_clock::now() + lasts;
                const bool interrupted = shared_->changed.wait_until(
                    lock, until, [&] { return closed_ || paused_ || generation_ != generation; });
                if (interrupted) continue;
            }
            const Buffer buffer = queue_.front();
            queue_.pop_front();
            SimWaveOutSession& s = session();
            if (shared_->recordPcm) s.heard.insert(s.heard.end(), buffer.data, buffer.data + buffer.bytes);
            playedBytes_ += buffer.bytes;
            ++s.played;
            done_(buffer.cookie);
            shared_->recordChanged();
        }
    }

    std::shared_ptr<Shared> shared_;
    std::size_t session_;
    WaveOutDriver::DoneCallback done_;
    std::deque<Buffer> queue_;
    bool paused_ = false;
    bool closed_ = false;
    std::uint64_t generation_ = 0; // counts resets
    std::size_t playedBytes_ = 0;
    std::string lastError_;
    std::thread player_; // last: starts once every member above exists
};

} // namespace

SimWaveOutDriver::SimWaveOutDriver(SimWaveOutMode mode) : shared_(std::make_shared<Shared>()) { shared_->mode = mode; }

SimWaveOutDriver::~SimWaveOutDriver() = default;

std::unique_ptr<WaveOutDevice> SimWaveOutDriver::open(const PcmWaveFormat& format, DoneCallback done) {
    std::size_t index = 0;
    {
        std::unique_lock lock(shared_->mutex);
        ++shared_->record.openAttempts;
        shared_->recordChanged();
        shared_->hangIfArmed(lock, SimWaveOutStep::Open);
        shared_->lastOpenFailed = shared_->mode == SimWaveOutMode::Absent;
        if (shared_->lastOpenFailed) return nullptr;
        SimWaveOutSession session;
        session.format = format;
        shared_->record.sessions.push_back(std::move(session));
        ++shared_->record.openDevices;
        index = shared_->record.sessions.size() - 1;
        shared_->recordChanged();
    }
    return std::make_unique<SimWaveOutDevice>(shared_, index, std::move(done));
}

std::string SimWaveOutDriver::lastOpenError() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->lastOpenFailed ? kAbsentDeviceReason : "";
}

void SimWaveOutDriver::failNextWrite(std::string reason) {
    const std::lock_guard lock(shared_->mutex);
    shared_->failWrite = std::move(reason);
}

void SimWaveOutDriver::setMode(SimWaveOutMode mode) {
    const std::lock_guard lock(shared_->mutex);
    shared_->mode = mode;
    shared_->changed.notify_all();
}

void SimWaveOutDriver::setRecordPcm(bool record) {
    const std::lock_guard lock(shared_->mutex);
    shared_->recordPcm = record;
}

void SimWaveOutDriver::stallAfter(std::size_t bytesPlayed) {
    const std::lock_guard lock(shared_->mutex);
    shared_->stallAt = bytesPlayed;
    // A stall point moved past what a stalled device has played lets it play on.
    shared_->changed.notify_all();
}

void SimWaveOutDriver::releaseStall() {
    const std::lock_guard lock(shared_->mutex);
    shared_->stallAt.reset();
    shared_->changed.notify_all();
}

void SimWaveOutDriver::hangAt(SimWaveOutStep step) {
    const std::lock_guard lock(shared_->mutex);
    shared_->hangAt = step;
}

void SimWaveOutDriver::releaseHang() {
    const std::lock_guard lock(shared_->mutex);
    shared_->hangAt.reset();
    ++shared_->hangReleases;
    shared_->changed.notify_all();
}

SimWaveOutRecord SimWaveOutDriver::record() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->record;
}

bool SimWaveOutDriver::waitFor(const std::function<bool(const SimWaveOutRecord&)>& condition,
                               std::chrono::milliseconds timeout) const {
    std::unique_lock lock(shared_->mutex);
    if (condition(shared_->record)) return true;
    Shared::Watcher watcher{condition, {}, false};
    shared_->watchers.push_back(&watcher);
    const bool met = watcher.met.wait_for(lock, timeout, [&] { return watcher.holds; });
    shared_->watchers.remove(&watcher);
    return met;
}

} // namespace vostrel::platform::sim

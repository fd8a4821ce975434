#include "platform/sim/sim_wave_out.h"

#include <algorithm>
#include <deque>
#include <thread>

namespace vostrel::platform::sim {

struct SimWaveOutDriver::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    SimWaveOutMode mode = SimWaveOutMode::Instant;
    bool recordPcm = true;
    std::optional<std::size_t> stallAt;
    std::optional<SimWaveOutStep> hangAt;
    std::optional<std::string> failWrite; // the reason the next write fails with
    bool lastOpenFailed = false;
    std::uint64_t hangReleases = 0; // counts releaseHang()
    SimWaveOutRecord record;

    // Blocks the calling step while a hang armed for it is not released. The wait lets go of
    // the lock, so the other devices and the test go on meanwhile.
    void hangIfArmed(std::unique_lock<std::mutex>& lock, SimWaveOutStep step) {
        if (hangAt != step) return;
        hangAt.reset();
        const std::uint64_t release = hangReleases;
        ++record.hungCalls;
        changed.notify_all();
        changed.wait(lock, [&] { return hangReleases != release; });
        --record.hungCalls;
        changed.notify_all();
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
        shared_->changed.notify_all();
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

    void note(Kind kind) {
        session().calls.push_back({kind, 0, nullptr});
        shared_->changed.notify_all();
    }

    void closeLocked() {
        closed_ = true;
        session().closed = true;
        --shared_->record.openDevices;
        shared_->changed.notify_all();
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
    }

    bool stalled() const { return shared_->stallAt && playedBytes_ >= *shared_->stallAt; }

    bool canPlay() { return !paused_ && !queue_.empty() && !stalled(); }

    void play() {
        std::unique_lock lock(shared_->mutex);
        while (!closed_) {
            shared_->changed.wait(lock, [&] { return closed_ || canPlay(); });
            if (closed_) break;
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
            shared_->changed.notify_all();
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
        shared_->changed.notify_all();
        shared_->hangIfArmed(lock, SimWaveOutStep::Open);
        shared_->lastOpenFailed = shared_->mode == SimWaveOutMode::Absent;
        if (shared_->lastOpenFailed) return nullptr;
        SimWaveOutSession session;
        session.format = format;
        shared_->record.sessions.push_back(std::move(session));
        ++shared_->record.openDevices;
        index = shared_->record.sessions.size() - 1;
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
    return shared_->changed.wait_for(lock, timeout, [&] { return condition(shared_->record); });
}

} // namespace vostrel::platform::sim

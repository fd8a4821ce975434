#include "tools/voicecheck/sound_check.h"

#include <atomic>
#include <memory>

#include "audio/teardown_reaper.h"
#include "tools/voicecheck/engine_play.h"

namespace vostrel::voicecheck {

namespace {

using namespace std::chrono_literals;

// What the engine did with the device: whether it opened one, and whether every block it wrote
// came back played rather than dropped by a reset.
struct DeviceLog {
    std::atomic<int> openAttempts{0};
    std::atomic<int> openFailures{0};
    std::atomic<long long> written{0};
    std::atomic<long long> played{0};
    std::atomic<bool> resetting{false};
};

class WatchedDevice final : public platform::WaveOutDevice {
public:
    WatchedDevice(std::unique_ptr<platform::WaveOutDevice> device, DeviceLog& log)
        : device_(std::move(device)), log_(log) {}
    platform::WaveOutResult write(const std::uint8_t* data, std::size_t bytes, std::uintptr_t cookie) override {
        const platform::WaveOutResult result = device_->write(data, bytes, cookie);
        if (result == platform::WaveOutResult::Ok) ++log_.written;
        return result;
    }
    void pause() override { device_->pause(); }
    void restart() override { device_->restart(); }
    void reset() override {
        log_.resetting = true;
        device_->reset();
        log_.resetting = false;
    }
    platform::WaveOutResult close() override { return device_->close(); }
    std::string lastError() const override { return device_->lastError(); }

private:
    std::unique_ptr<platform::WaveOutDevice> device_;
    DeviceLog& log_;
};

class WatchedDriver final : public platform::WaveOutDriver {
public:
    WatchedDriver(platform::WaveOutDriver& driver, DeviceLog& log) : driver_(driver), log_(log) {}
    std::unique_ptr<platform::WaveOutDevice> open(const platform::PcmWaveFormat& format, DoneCallback done) override {
        ++log_.openAttempts;
        DeviceLog& log = log_;
        auto device = driver_.open(format, [&log, done = std::move(done)](std::uintptr_t cookie) {
            if (!log.resetting) ++log.played;
            done(cookie);
        });
        if (!device) {
            ++log_.openFailures;
            return nullptr;
        }
        return std::make_unique<WatchedDevice>(std::move(device), log_);
    }
    std::string lastOpenError() const override { return driver_.lastOpenError(); }

private:
    platform::WaveOutDriver& driver_;
    DeviceLog& log_;
};

} // namespace

DevicePlay playOnDevice(const std::string& path, platform::WaveOutDriver& device, std::chrono::milliseconds limit) {
    DeviceLog log;
    WatchedDriver watched(device, log);
    // The engine stays "playing" without sound when the device cannot be opened: the watch on
    // the device tells that case apart at once. A device that never lets go holds the tool in
    // the teardown, as it would hold any program that must close it.
    const EnginePlay play = playThroughEngine(
        path, watched, nullptr, limit, 20ms, [&log] { return log.openFailures > 0; },
        audio::TeardownReaper::kGraceAtExit);

    DevicePlay result;
    if (log.openFailures > 0) {
        result.outcome = DevicePlay::Outcome::DeviceRefused;
        result.reason = device.lastOpenError();
    } else if (play.outcome.end == audio::PromptEnd::DeviceFailed) {
        result.outcome = DevicePlay::Outcome::DeviceFailed;
        result.reason = play.outcome.reason;
    } else if (!play.ended || !play.closed || log.played < log.written || log.openAttempts == 0) {
        result.outcome = DevicePlay::Outcome::Stuck;
    }
    return result;
}

} // namespace vostrel::voicecheck

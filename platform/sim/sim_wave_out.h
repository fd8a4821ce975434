#pragma once
// A simulated wave-out device that behaves like a real driver: each open device has a thread
// of its own that plays the queued buffers in order and returns each through the done
// callback. It records every open (the format), every call, and the PCM of every buffer it
// played, so tests can see exactly what would have been heard.
//
// Modes
// - Instant: a buffer is played as soon as it is queued (and the device is not paused).
// - RealTime: a buffer takes as long as its PCM lasts at the format's rate.
// - Absent: open fails, as on a machine without a sound card (its reason: kAbsentDeviceReason).
// A stall point (stallAfter) makes every device stop playing once it has played that many
// bytes, until releaseStall() or a later stall point: a test can then act while a file is
// known to be sounding, or let a stalled device play a given number of bytes more.
// A failing write (failNextWrite) makes the next write of any device refuse its buffer, with the
// given reason as the device's lastError(), as a device that vanished while playing does.
// A hang (hangAt) makes the next call of one step (open, write, reset or close, on whichever
// device) block inside the call until releaseHang(), as a driver does whose device has vanished
// or whose sound server has stopped; the record counts the calls hanging at the moment. A hung
// call holds none of the simulator's locks, so the other devices carry on.
//
// Thread: any. The done callback runs on the device's thread, or inside reset() on the caller's,
// while the device's lock is held: it must not call into the device (as the seam requires).
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/wave_out.h"

namespace vostrel::platform::sim {

enum class SimWaveOutMode { Instant, RealTime, Absent };

inline constexpr const char* kAbsentDeviceReason = "没有声音设备";

// The device calls a test can make hang.
enum class SimWaveOutStep { Open, Write, Reset, Close };

struct SimWaveOutCall {
    enum class Kind { Write, Pause, Restart, Reset, Close, CloseRefused, Destroy };
    Kind kind;
    std::size_t bytes = 0;              // for Write
    const std::uint8_t* data = nullptr; // for Write: where the buffer lies
};

// One opened device, from open to close.
struct SimWaveOutSession {
    PcmWaveFormat format;
    std::vector<SimWaveOutCall> calls;
    std::vector<std::uint8_t> heard; // PCM of every buffer played (not of those reset)
    std::size_t written = 0;         // buffers written
    std::size_t played = 0;          // buffers returned after playing
    std::size_t returnedByReset = 0; // buffers returned unplayed by reset
    std::size_t mostQueued = 0;      // the most buffers queued at once
    bool closed = false;             // close succeeded or the device was destroyed
    std::optional<std::chrono::steady_clock::time_point> firstWriteAt;
    std::size_t queued() const { return written - played - returnedByReset; }
};

struct SimWaveOutRecord {
    std::size_t openAttempts = 0;
    std::size_t openDevices = 0; // opened and not yet closed
    std::size_t hungCalls = 0;   // calls blocked by a hang right now
    std::vector<SimWaveOutSession> sessions;
};

class SimWaveOutDriver final : public WaveOutDriver {
public:
    explicit SimWaveOutDriver(SimWaveOutMode mode = SimWaveOutMode::Instant);
    ~SimWaveOutDriver() override;

    std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat& format, DoneCallback done) override;
    std::string lastOpenError() const override;

    void setMode(SimWaveOutMode mode);
    // Off: only counts and calls are recorded, no PCM (for long runs).
    void setRecordPcm(bool record);
    void failNextWrite(std::string reason);
    void stallAfter(std::size_t bytesPlayed);
    void releaseStall();
    // The next call of `step` blocks until releaseHang(); the calls after it do not.
    void hangAt(SimWaveOutStep step);
    // Lets every hung call go on and disarms a hang not yet met.
    void releaseHang();

    SimWaveOutRecord record() const;
    // Blocks until `condition` holds for the record (checked at every change), at most
    // `timeout` of real time; false on timeout.
    bool waitFor(const std::function<bool(const SimWaveOutRecord&)>& condition,
                 std::chrono::milliseconds timeout) const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

} // namespace vostrel::platform::sim

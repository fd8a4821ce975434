#pragma once
// Wave-out audio: the default output device playing queued 16-bit PCM buffers.
//
// Contract
// - WaveOutDriver::open() may be called from any thread; it returns null when no device can
//   be opened with the format (no device, format refused). The owner then serialises its
//   calls: WaveOutDevice calls never overlap, but they may come from different threads (the
//   engine writes from its output thread, pauses from the player's caller, and resets and
//   closes from the teardown once the output thread has been joined).
// - write() queues a buffer without copying it: the memory must stay valid and unchanged
//   until the device has returned it. Buffers are played and returned in the order written.
// - The done callback is called once per written buffer, with the cookie given to write(),
//   strictly in the order written, when the buffer has been played or reset. It runs on a
//   thread of the device's own, or inside reset() on the owner's thread. It must only mark
//   the buffer: it may not call into the device, and may take only locks that the owner
//   never holds while calling the device (lock order: owner's locks, then device calls;
//   the callback's lock is never held across a device call).
// - pause() stops playback where it is; restart() continues from there.
// - reset() stops playback and returns every queued buffer through the callback before it
//   returns; the device stays open and is no longer paused. A driver that does not answer
//   within a short bound may leave it to complete later: the buffers then come back later.
// - close() returns StillPlaying while buffers are queued (nothing changes; call again
//   later), Ok once the device is closed. Destroying an open device resets and closes it,
//   waiting as long as the driver needs.
// - lastError() is the system's reason why the latest failed call of the device failed, as
//   text for the operator (UTF-8; empty when the backend has none). Called under the owner's
//   serialisation, like the other device calls.
// - Any call may block inside a driver that has stopped answering (a vanished device, a
//   stopped sound server): owners make them on their own threads, never on the UI thread.
// - lastOpenError() is the system's reason why the latest failed open() failed, as text for the
//   operator (UTF-8; empty when the backend has none). Any thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vostrel::platform {

struct PcmWaveFormat {
    std::uint16_t channels = 2; // 1 or 2
    std::uint32_t samplesPerSecond = 44100;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t blockAlign() const { return static_cast<std::uint16_t>(bitsPerSample / 8 * channels); }
    std::uint32_t averageBytesPerSecond() const { return blockAlign() * samplesPerSecond; }
};

enum class WaveOutResult { Ok, StillPlaying, Failed };

class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;
    virtual WaveOutResult write(const std::uint8_t* data, std::size_t bytes, std::uintptr_t cookie) = 0;
    virtual void pause() = 0;
    virtual void restart() = 0;
    virtual void reset() = 0;
    virtual WaveOutResult close() = 0;
    virtual std::string lastError() const { return {}; }
};

class WaveOutDriver {
public:
    using DoneCallback = std::function<void(std::uintptr_t cookie)>;
    virtual ~WaveOutDriver() = default;
    virtual std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat& format, DoneCallback done) = 0;
    virtual std::string lastOpenError() const { return {}; }
};

} // namespace vostrel::platform

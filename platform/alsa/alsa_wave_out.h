#pragma once
// Wave-out on ALSA's default PCM device.
//
// Each open device has a worker thread of its own that makes every ALSA call: the owner's calls
// only queue buffers or hand the worker a request and wait until it has been carried out, so the
// PCM handle is never shared between threads. That wait is bounded: a worker stuck inside ALSA
// carries the request out later, in order, and close() refuses until it has. Only destroying an
// open device waits for the worker without bound. A buffer counts as played, and goes back through
// the done callback, once the device's playback position has passed its last frame; the worker
// calls the callback without holding any lock of its own.
//
// Pausing uses the device's own pause where it has one. Where it has none, pausing drops what the
// device holds and rewinds the write position to the frame last played: the buffers are still
// ours until returned, so restart() continues exactly from there on every device.
//
// A write that ALSA refuses and cannot recover from breaks the device: what is queued comes back
// at once, every later write() fails, and lastError() gives ALSA's reason.
#include <memory>
#include <mutex>
#include <string>

#include "platform/wave_out.h"

namespace vostrel::platform::alsa {

class AlsaWaveOutDriver final : public WaveOutDriver {
public:
    // device: the ALSA PCM name ("default" is the desktop's output).
    explicit AlsaWaveOutDriver(std::string device = "default") : device_(std::move(device)) {}
    std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat& format, DoneCallback done) override;
    std::string lastOpenError() const override;

private:
    void noteOpenError(std::string reason);

    std::string device_;
    mutable std::mutex errorMutex_; // open() may run on any thread
    std::string lastOpenError_;
};

} // namespace vostrel::platform::alsa

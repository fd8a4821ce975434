#pragma once
#include <mutex>
#include <string>

#include "platform/wave_out.h"

namespace vostrel::platform::win32 {

// winmm wave-out on the default device (WAVE_MAPPER) with a callback function.
class Win32WaveOutDriver final : public WaveOutDriver {
public:
    std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat& format, DoneCallback done) override;
    // winmm's own text for the error, in the system's language.
    std::string lastOpenError() const override;

private:
    mutable std::mutex errorMutex_; // open() may run on any thread
    std::string lastOpenError_;
};

} // namespace vostrel::platform::win32

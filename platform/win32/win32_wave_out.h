#pragma once
#include "platform/wave_out.h"

namespace vostrel::platform::win32 {

// winmm wave-out on the default device (WAVE_MAPPER) with a callback function.
class Win32WaveOutDriver final : public WaveOutDriver {
public:
    std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat& format, DoneCallback done) override;
};

} // namespace vostrel::platform::win32

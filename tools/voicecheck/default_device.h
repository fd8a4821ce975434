#pragma once
// The system's default sound output, as the program itself plays on it: ALSA's "default" PCM on
// Linux, the wave mapper of winmm on Windows.
#include <memory>

#include "platform/wave_out.h"

namespace vostrel::voicecheck {

std::unique_ptr<platform::WaveOutDriver> createDefaultDevice();

} // namespace vostrel::voicecheck

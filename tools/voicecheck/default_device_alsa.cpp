#include "platform/alsa/alsa_wave_out.h"
#include "tools/voicecheck/default_device.h"

namespace vostrel::voicecheck {

std::unique_ptr<platform::WaveOutDriver> createDefaultDevice() {
    return std::make_unique<platform::alsa::AlsaWaveOutDriver>();
}

} // namespace vostrel::voicecheck

#include "platform/win32/win32_wave_out.h"
#include "tools/voicecheck/default_device.h"

namespace vostrel::voicecheck {

std::unique_ptr<platform::WaveOutDriver> createDefaultDevice() {
    return std::make_unique<platform::win32::Win32WaveOutDriver>();
}

} // namespace vostrel::voicecheck

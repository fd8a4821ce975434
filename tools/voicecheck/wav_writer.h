#pragma once
// Writes 16-bit PCM as a standard RIFF/WAVE file.
#include <cstdint>
#include <string>
#include <vector>

namespace vostrel::voicecheck {

// False when the file cannot be written. `path` is UTF-8.
bool writeWav(const std::string& path, const std::vector<std::uint8_t>& pcm, int channels, int sampleRate);

} // namespace vostrel::voicecheck

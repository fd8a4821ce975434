#include "tools/voicecheck/wav_writer.h"

#include <fstream>

#include "platform/utf8_path.h"

namespace vostrel::voicecheck {

namespace {
void put16(std::ofstream& out, std::uint32_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    out.write(bytes, 2);
}
void put32(std::ofstream& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
} // namespace

bool writeWav(const std::string& path, const std::vector<std::uint8_t>& pcm, int channels, int sampleRate) {
    std::ofstream out(platform::pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size());
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16); // size of the format chunk
    put16(out, 1);  // PCM
    put16(out, static_cast<std::uint32_t>(channels));
    put32(out, static_cast<std::uint32_t>(sampleRate));
    put32(out, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    put16(out, blockAlign);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    out.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size()));
    return static_cast<bool>(out);
}

} // namespace vostrel::voicecheck

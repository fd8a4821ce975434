#pragma once
// The PCM the frame decoder produces: one decoded frame fills exactly one block.
#include <cstdint>

namespace vostrel::audio {

struct PcmFormat {
    int bitsPerSample = 16;
    int channels = 2;             // 1 or 2, as in the stream
    int sampleRate = 44100;       // Hz, as in the stream
    std::uint32_t blockBytes = 0; // PCM bytes of one decoded frame
    int samplesPerFrame = 1152;   // 576 for Layer III at MPEG-2 and MPEG 2.5 rates

    friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

} // namespace vostrel::audio

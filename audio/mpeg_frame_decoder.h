#pragma once
// Decodes one MPEG audio frame at a time into 16-bit PCM, on libmpg123 in feed mode: each
// decode feeds exactly one frame and takes its PCM at once (no read-ahead), so the bytes
// consumed and the PCM produced always belong to the same frame.
//
// Contract: one thread uses an instance at a time.
#include <cstddef>
#include <cstdint>

#include "audio/frame_header.h"

struct mpg123_handle_struct;

namespace vostrel::audio {

class MpegFrameDecoder {
public:
    MpegFrameDecoder() = default;
    ~MpegFrameDecoder();
    MpegFrameDecoder(const MpegFrameDecoder&) = delete;
    MpegFrameDecoder& operator=(const MpegFrameDecoder&) = delete;

    // Starts a new stream of frames like `header` (free format: `frameLength` is the length
    // without padding). False when the decoder refuses the stream.
    bool initialise(const FrameHeader& header, int frameLength);

    struct Info {
        int channels = 2;
        int bitsPerSample = 16;
        int sampleRate = 44100;
    };
    Info info() const { return info_; }

    struct Decoded {
        std::size_t consumed = 0; // 0: the frame cannot be decoded
        std::size_t produced = 0; // PCM bytes written to `out`
    };
    // Decodes the frame of `frameBytes` bytes at `in` into `out` (at most `outCapacity` bytes).
    // A frame that cannot be decoded consumes nothing and restarts the decoder's stream.
    Decoded decode(const std::uint8_t* in, std::size_t frameBytes, std::uint8_t* out, std::size_t outCapacity);

private:
    bool restart();

    mpg123_handle_struct* handle_ = nullptr;
    Info info_;
    int freeFormatLength_ = 0;
};

} // namespace vostrel::audio

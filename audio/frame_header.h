#pragma once
// MPEG audio frame headers (MPEG-1, MPEG-2 and MPEG 2.5; Layers I to III): finding a sync,
// reading the four header bytes and working out the frame's length.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vostrel::audio {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct FrameHeader {
    int syncKind = 0;     // 0: the 12-bit sync; 1: the MPEG 2.5 sync (11 bits and a 0)
    int versionBit = 1;   // 1: MPEG-1; 0: MPEG-2, or MPEG 2.5 with syncKind 1
    int layer = 3;        // 1, 2 or 3
    int bitrateIndex = 0; // 0: free format
    int sampleRateIndex = 0;
    int paddingBit = 0;
    int mode = 0; // 3: mono

    MpegVersion version() const;
    int sampleRate() const; // Hz
    int bitrate() const;    // bit/s; 0 for free format
    int channels() const { return mode == 3 ? 1 : 2; }
    int samplesPerFrame() const; // 384, 1152 or 576
    bool freeFormat() const { return bitrateIndex == 0; }
    // Frame length in bytes without the padding byte (or slot); 0 for free format.
    int frameLengthWithoutPadding() const;
    // The padding in bytes: 4 for Layer I, 1 otherwise, when the padding bit is set.
    int paddingBytes() const;

    // Same stream: layer, version, sample rate and mono/stereo agree (the bitrate, padding and
    // the kind of stereo may change from frame to frame).
    bool sameStreamAs(const FrameHeader& other) const;
};

// A sync at p: 0xFF followed by a byte whose high four bits are 0xF, or 0xE for MPEG 2.5.
inline bool isFrameSync(const std::uint8_t* p) { return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0; }

// The header at p (four bytes), or none when it starts with no sync or holds a reserved value.
std::optional<FrameHeader> parseFrameHeader(const std::uint8_t* p);

// The length of a free-format frame whose header is at data[0]: the distance to the next
// header that repeats the first two header bytes (searched 24 to 2000 bytes on), less the
// padding, confirmed by the frame after it when that lies within the data. 0 if none.
int freeFormatFrameLength(const std::uint8_t* data, std::size_t size, const FrameHeader& header);

// The bytes of a frame header, which a frame's length includes.
inline constexpr std::size_t kFrameHeaderBytes = 4;

} // namespace vostrel::audio

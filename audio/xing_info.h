#pragma once
// The "Xing" header that VBR encoders put into the first frame: frame count, byte count, a
// table of contents for seeking and a quality indicator, each present when its flag is set.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/frame_header.h"

namespace vostrel::audio {

struct XingInfo {
    enum Flags : std::uint32_t { HasFrames = 1, HasBytes = 2, HasToc = 4, HasQuality = 8 };
    std::uint32_t flags = 0;
    std::uint32_t frameCount = 0;
    std::uint32_t byteCount = 0;
    std::array<std::uint8_t, 100> toc{}; // each entry 0..255: byte position / data length * 256
    std::int32_t quality = -1;           // -1 when absent
};

// Where a "Xing" (or an encoder's "Info") tag follows the side information, counted from the
// frame's first byte.
std::size_t xingTagOffset(const FrameHeader& header);

// The Xing header of the frame at `frame` (with `size` bytes available from there), or none.
std::optional<XingInfo> parseXingInfo(const std::uint8_t* frame, std::size_t size, const FrameHeader& header);

} // namespace vostrel::audio

#include "audio/xing_info.h"

#include <cstring>

namespace vostrel::audio {

namespace {

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

} // namespace

std::size_t xingTagOffset(const FrameHeader& header) {
    const bool mpeg1 = header.version() == MpegVersion::Mpeg1;
    const bool mono = header.channels() == 1;
    if (mpeg1) return mono ? 21 : 36;
    return mono ? 13 : 21;
}

std::optional<XingInfo> parseXingInfo(const std::uint8_t* frame, std::size_t size, const FrameHeader& header) {
    std::size_t at = xingTagOffset(header);
    if (at + 8 > size || std::memcmp(frame + at, "Xing", 4) != 0) return std::nullopt;
    XingInfo info;
    info.flags = bigEndian32(frame + at + 4);
    at += 8;
    const auto take = [&](std::size_t bytes) {
        const bool fits = at + bytes <= size;
        const std::uint8_t* p = frame + at;
        at += bytes;
        return fits ? p : nullptr;
    };
    if (info.flags & XingInfo::HasFrames) {
        const std::uint8_t* p = take(4);
        if (!p) return std::nullopt;
        info.frameCount = bigEndian32(p);
    }
    if (info.flags & XingInfo::HasBytes) {
        const std::uint8_t* p = take(4);
        if (!p) return std::nullopt;
        info.byteCount = bigEndian32(p);
    }
    if (info.flags & XingInfo::HasToc) {
        const std::uint8_t* p = take(100);
        if (!p) return std::nullopt;
        std::memcpy(info.toc.data(), p, 100);
    }
    if (info.flags & XingInfo::HasQuality) {
        const std::uint8_t* p = take(4);
        if (!p) return std::nullopt;
        info.quality = static_cast<std::int32_t>(bigEndian32(p));
    }
    return info;
}

} // namespace vostrel::audio

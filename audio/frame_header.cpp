#include "audio/frame_header.h"

namespace vostrel::audio {

namespace {

// kbit/s by [MPEG-1 or not][layer - 1][index]
constexpr int kBitrates[2][3][15] = {
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    },
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    },
};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

} // namespace

MpegVersion FrameHeader::version() const {
    if (versionBit == 1) return MpegVersion::Mpeg1;
    return syncKind == 1 ? MpegVersion::Mpeg25 : MpegVersion::Mpeg2;
}

int FrameHeader::sampleRate() const {
    const int base = kMpeg1Rates[sampleRateIndex];
    switch (version()) {
    case MpegVersion::Mpeg1: return base;
    case MpegVersion::Mpeg2: return base / 2;
    case MpegVersion::Mpeg25: return base / 4;
    }
    return base;
}

int FrameHeader::bitrate() const { return kBitrates[versionBit][layer - 1][bitrateIndex] * 1000; }

int FrameHeader::samplesPerFrame() const {
    if (layer == 1) return 384;
    if (layer == 3 && version() != MpegVersion::Mpeg1) return 576;
    return 1152;
}

int FrameHeader::frameLengthWithoutPadding() const {
    const int rate = sampleRate();
    if (layer == 1) return 12 * bitrate() / rate * 4;
    if (layer == 3 && version() != MpegVersion::Mpeg1) return 72 * bitrate() / rate;
    return 144 * bitrate() / rate;
}

int FrameHeader::paddingBytes() const { return paddingBit ? (layer == 1 ? 4 : 1) : 0; }

bool FrameHeader::sameStreamAs(const FrameHeader& other) const {
    return layer == other.layer && versionBit == other.versionBit && syncKind == other.syncKind &&
           sampleRateIndex == other.sampleRateIndex && channels() == other.channels();
}

std::optional<FrameHeader> parseFrameHeader(const std::uint8_t* p) {
    if (!isFrameSync(p)) return std::nullopt;
    FrameHeader h;
    h.syncKind = (p[1] & 0x10) ? 0 : 1;
    h.versionBit = (p[1] >> 3) & 1;
    if (h.syncKind == 1 && h.versionBit == 1) return std::nullopt; // reserved version
    const int layerBits = (p[1] >> 1) & 3;
    if (layerBits == 0) return std::nullopt;
    h.layer = 4 - layerBits;
    h.bitrateIndex = p[2] >> 4;
    h.sampleRateIndex = (p[2] >> 2) & 3;
    if (h.bitrateIndex == 15 || h.sampleRateIndex == 3) return std::nullopt;
    h.paddingBit = (p[2] >> 1) & 1;
    h.mode = p[3] >> 6;
    return h;
}

int freeFormatFrameLength(const std::uint8_t* data, std::size_t size, const FrameHeader& header) {
    const std::size_t limit = size < 10000 ? size : 10000;
    for (std::size_t distance = 24; distance <= 2000 && distance + kFrameHeaderBytes <= limit; ++distance) {
        const std::uint8_t* next = data + distance;
        if (next[0] != data[0] || next[1] != data[1]) continue;
        const auto nextHeader = parseFrameHeader(next);
        if (!nextHeader || !nextHeader->freeFormat() || !nextHeader->sameStreamAs(header)) continue;
        const int length = static_cast<int>(distance) - header.paddingBytes();
        // Confirm with the frame after it when the data reaches that far.
        const std::size_t third = distance + static_cast<std::size_t>(length + nextHeader->paddingBytes());
        if (third + kFrameHeaderBytes <= limit) {
            const auto thirdHeader = parseFrameHeader(data + third);
            if (!thirdHeader || !thirdHeader->sameStreamAs(header)) continue;
        }
        return length;
    }
    return 0;
}

} // namespace vostrel::audio

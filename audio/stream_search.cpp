#include "audio/stream_search.h"

#include <algorithm>

namespace vostrel::audio {

std::optional<std::size_t> findSync(const std::uint8_t* data, std::size_t size, std::size_t from) {
    for (std::size_t i = from; i + 1 < size; ++i) {
        if (isFrameSync(data + i)) return i;
    }
    return std::nullopt;
}

namespace {

struct Parsed {
    FrameHeader header;
    std::size_t at = 0;
    int length = 0; // without padding
};

std::optional<Parsed> parseNext(const std::uint8_t* data, std::size_t size, std::size_t from) {
    const auto sync = findSync(data, size, from);
    if (!sync || *sync + kFrameHeaderBytes > size) return std::nullopt;
    const auto header = parseFrameHeader(data + *sync);
    if (!header) return std::nullopt;
    const int length = header->freeFormat() ? freeFormatFrameLength(data + *sync, size - *sync, *header)
                                            : header->frameLengthWithoutPadding();
    if (length <= 0) return std::nullopt;
    return Parsed{*header, *sync, length};
}

bool consistent(const Parsed& first, const Parsed& later) {
    const FrameHeader& a = first.header;
    const FrameHeader& b = later.header;
    return (b.layer == 2 || b.layer == 3) && b.layer == a.layer && b.versionBit == a.versionBit &&
           b.syncKind == a.syncKind && b.sampleRateIndex == a.sampleRateIndex && b.mode == a.mode;
}

} // namespace

std::optional<StreamStart> findStreamStart(const std::uint8_t* data, std::size_t size) {
    const auto first = parseNext(data, size, 0);
    if (!first) return std::nullopt;
    Parsed previous = *first;
    for (int i = 0; i < 2; ++i) {
        const std::size_t from = previous.at + previous.length + previous.header.paddingBytes();
        auto next = parseNext(data, size, from);
        if (!next || !consistent(*first, *next)) return std::nullopt;
        previous = *next;
    }
    StreamStart start{first->header, first->length, first->at, std::nullopt};
    start.xing = parseXingInfo(data + first->at, size - first->at, first->header);
    return start;
}

std::optional<StreamStart> searchFileForStream(const std::uint8_t* data, std::size_t size, std::size_t& at) {
    at = 0;
    if (size >= kId3HeaderBytes)
        at = static_cast<std::size_t>(std::min<std::uint64_t>(streamStartAfterId3(data), size));
    for (int attempt = 0; attempt < kStreamSearchAttempts && at < size; ++attempt) {
        if (auto start = findStreamStart(data + at, std::min(kStreamSearchBytes, size - at))) {
            at += start->firstSync;
            return start;
        }
        const auto next = findSync(data + at, size - at, 1);
        if (!next) break;
        at += *next;
    }
    return std::nullopt;
}

std::uint64_t streamStartAfterId3(const std::uint8_t* first) {
    if (first[0] != 'I' || first[1] != 'D' || first[2] != '3') return 0;
    const std::uint8_t version = first[3];
    if (version < 2 || version > 4) return kId3HeaderBytes;
    const std::uint64_t size = (std::uint64_t{first[6] & 0x7Fu} << 21) | (std::uint64_t{first[7] & 0x7Fu} << 14) |
                               (std::uint64_t{first[8] & 0x7Fu} << 7) | (first[9] & 0x7Fu);
    const bool footer = version == 4 && (first[5] & 0x10) != 0;
    return kId3HeaderBytes + size + (footer ? kId3HeaderBytes : 0); // a footer repeats the header
}

} // namespace vostrel::audio

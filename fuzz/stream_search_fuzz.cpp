// The stream search over any bytes: a stream it finds starts at a sync, is followed by two
// more frames of the same stream where the first one's length says, and lies within the bytes
// searched; a sync it reports is the first one from where it looked.
#include "audio/stream_search.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace vostrel::fuzz {

namespace {

void checkFirstSync(const std::uint8_t* data, std::size_t size, std::size_t from) {
    const auto sync = audio::findSync(data, size, from);
    if (!sync) {
        for (std::size_t i = from; i + 1 < size; ++i) FUZZ_EXPECT(!audio::isFrameSync(data + i));
        return;
    }
    FUZZ_EXPECT(*sync >= from && *sync + 1 < size && audio::isFrameSync(data + *sync));
    for (std::size_t i = from; i < *sync; ++i) FUZZ_EXPECT(!audio::isFrameSync(data + i));
}

// The frame after the one at `at`, of `length` bytes without padding, if it starts a header
// of the same stream somewhere at or after its end.
std::size_t checkNextFrame(const std::uint8_t* data, std::size_t size, std::size_t at,
                           const audio::FrameHeader& first) {
    const auto header = audio::parseFrameHeader(data + at);
    FUZZ_EXPECT(header.has_value());
    const int length = header->freeFormat() ? audio::freeFormatFrameLength(data + at, size - at, *header)
                                            : header->frameLengthWithoutPadding();
    FUZZ_EXPECT(length > 0);
    const auto next = audio::findSync(data, size, at + static_cast<std::size_t>(length + header->paddingBytes()));
    FUZZ_EXPECT(next && *next + audio::kFrameHeaderBytes <= size);
    const auto nextHeader = audio::parseFrameHeader(data + *next);
    FUZZ_EXPECT(nextHeader && nextHeader->sameStreamAs(first));
    FUZZ_EXPECT(nextHeader->layer == 2 || nextHeader->layer == 3);
    return *next;
}

} // namespace

int streamSearch(const std::uint8_t* data, std::size_t size) {
    checkFirstSync(data, size, 0);
    checkFirstSync(data, size, size / 2);
    if (size >= audio::kId3HeaderBytes) {
        const std::uint64_t start = audio::streamStartAfterId3(data);
        const bool tagged = data[0] == 'I' && data[1] == 'D' && data[2] == '3';
        FUZZ_EXPECT(tagged ? start >= audio::kId3HeaderBytes : start == 0);
    }

    const auto found = audio::findStreamStart(data, size);
    if (!found) return 0;
    FUZZ_EXPECT(found->firstSync + audio::kFrameHeaderBytes <= size);
    FUZZ_EXPECT(found->frameLength > 0);
    const auto header = audio::parseFrameHeader(data + found->firstSync);
    FUZZ_EXPECT(header && header->bitrateIndex == found->header.bitrateIndex && header->sameStreamAs(found->header));
    const std::size_t second = checkNextFrame(data, size, found->firstSync, found->header);
    checkNextFrame(data, size, second, found->header);
    return 0;
}

} // namespace vostrel::fuzz

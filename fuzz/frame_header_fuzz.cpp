// Frame headers: every four bytes either are no header or a header whose values lie in their
// tables and whose frame length is the bitrate times the frame's duration; a free-format
// frame's measured length always ends at a repeat of the header.
#include <cmath>

#include "audio/frame_header.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace vostrel::fuzz {

using audio::FrameHeader;

namespace {

void checkTableValues(const FrameHeader& h) {
    FUZZ_EXPECT(h.layer >= 1 && h.layer <= 3);
    FUZZ_EXPECT(h.sampleRate() >= 8000 && h.sampleRate() <= 48000);
    FUZZ_EXPECT(h.channels() == 1 || h.channels() == 2);
    FUZZ_EXPECT(h.samplesPerFrame() == 384 || h.samplesPerFrame() == 576 || h.samplesPerFrame() == 1152);
    FUZZ_EXPECT(h.sameStreamAs(h));
    FUZZ_EXPECT(h.paddingBytes() == 0 || h.paddingBit == 1);
}

// A frame lasts samplesPerFrame / sampleRate seconds and carries bitrate bits a second; the
// length rounds that down to whole slots (4 bytes in Layer I, 1 byte otherwise).
void checkLengthMatchesBitrate(const FrameHeader& h) {
    const int length = h.frameLengthWithoutPadding();
    if (h.freeFormat()) {
        FUZZ_EXPECT(length == 0 && h.bitrate() == 0);
        return;
    }
    FUZZ_EXPECT(length >= static_cast<int>(audio::kFrameHeaderBytes));
    const double exact = static_cast<double>(h.bitrate()) * h.samplesPerFrame() / 8.0 / h.sampleRate();
    const double slot = h.layer == 1 ? 4.0 : 1.0;
    FUZZ_EXPECT(length <= exact + 1e-9 && exact - length < slot);
}

void checkFreeFormatLength(const std::uint8_t* data, std::size_t size, const FrameHeader& h) {
    const int length = audio::freeFormatFrameLength(data, size, h);
    if (length == 0) return;
    const std::size_t next = static_cast<std::size_t>(length + h.paddingBytes());
    FUZZ_EXPECT(next + audio::kFrameHeaderBytes <= size);
    FUZZ_EXPECT(data[next] == data[0] && data[next + 1] == data[1]);
    const auto repeated = audio::parseFrameHeader(data + next);
    FUZZ_EXPECT(repeated && repeated->freeFormat() && repeated->sameStreamAs(h));
}

} // namespace

int frameHeader(const std::uint8_t* data, std::size_t size) {
    if (size < audio::kFrameHeaderBytes) return 0;
    const auto header = audio::parseFrameHeader(data);
    if (!header) return 0;
    FUZZ_EXPECT(audio::isFrameSync(data));
    checkTableValues(*header);
    checkLengthMatchesBitrate(*header);
    if (header->freeFormat()) checkFreeFormatLength(data, size, *header);
    return 0;
}

} // namespace vostrel::fuzz

// The Xing header of a first frame: found only where the frame's kind puts it, with exactly
// the fields its flags announce, all within the bytes given.
#include <cstring>

#include "audio/stream_search.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace vostrel::fuzz {

namespace {

// Bytes of the fields that follow the flags.
std::size_t fieldBytes(std::uint32_t flags) {
    std::size_t bytes = 0;
    if (flags & audio::XingInfo::HasFrames) bytes += 4;
    if (flags & audio::XingInfo::HasBytes) bytes += 4;
    if (flags & audio::XingInfo::HasToc) bytes += 100;
    if (flags & audio::XingInfo::HasQuality) bytes += 4;
    return bytes;
}

} // namespace

int xingHeader(const std::uint8_t* data, std::size_t size) {
    if (size < audio::kFrameHeaderBytes) return 0;
    const auto header = audio::parseFrameHeader(data);
    if (!header) return 0;
    const auto xing = audio::parseXingInfo(data, size, *header);
    if (!xing) return 0;

    const std::size_t tag = header->version() == audio::MpegVersion::Mpeg1 ? (header->channels() == 1 ? 21 : 36)
                                                                           : (header->channels() == 1 ? 13 : 21);
    FUZZ_EXPECT(tag + 8 + fieldBytes(xing->flags) <= size);
    FUZZ_EXPECT(std::memcmp(data + tag, "Xing", 4) == 0);
    if (!(xing->flags & audio::XingInfo::HasFrames)) FUZZ_EXPECT(xing->frameCount == 0);
    if (!(xing->flags & audio::XingInfo::HasBytes)) FUZZ_EXPECT(xing->byteCount == 0);
    if (!(xing->flags & audio::XingInfo::HasQuality)) FUZZ_EXPECT(xing->quality == -1);
    if (xing->flags & audio::XingInfo::HasToc) {
        const std::size_t toc = tag + 8 + ((xing->flags & audio::XingInfo::HasFrames) ? 4 : 0) +
                                ((xing->flags & audio::XingInfo::HasBytes) ? 4 : 0);
        FUZZ_EXPECT(std::memcmp(xing->toc.data(), data + toc, xing->toc.size()) == 0);
    }

    // The stream search takes the header of the first frame it finds and looks for the tag there.
    const auto found = audio::findStreamStart(data, size);
    if (found && found->firstSync == 0) FUZZ_EXPECT(found->xing && found->xing->flags == xing->flags);
    return 0;
}

} // namespace vostrel::fuzz

#include "tools/voicecheck/stream_survey.h"

#include <algorithm>
#include <cstring>

#include "audio/stream_search.h"
#include "audio/xing_info.h"

namespace vostrel::voicecheck {

namespace {

// A stretch this long without a frame of the stream ends the walk, as it ends the decoder's
// resynchronisation.
constexpr std::size_t kLongestResync = 1 << 20;

std::size_t dataEnd(const std::vector<std::uint8_t>& bytes) {
    const std::size_t trailerAt = bytes.size() - audio::kTagTrailerBytes;
    const bool trailer =
        bytes.size() >= audio::kTagTrailerBytes && std::memcmp(bytes.data() + trailerAt, "TAG", 3) == 0;
    return trailer ? trailerAt : bytes.size();
}

class FrameWalk {
public:
    FrameWalk(const std::vector<std::uint8_t>& bytes, std::size_t end, const audio::StreamStart& start)
        : bytes_(bytes), end_(end), first_(start.header), freeFormatLength_(start.frameLength) {}

    // The length of the stream's frame at `at` (padding included), or 0 when none starts there
    // or it does not end inside the data.
    std::size_t frameAt(std::size_t at) const {
        if (at + 4 > end_) return 0;
        const auto header = audio::parseFrameHeader(bytes_.data() + at);
        if (!header || !header->sameStreamAs(first_)) return 0;
        const int body = header->freeFormat() ? freeFormatLength_ : header->frameLengthWithoutPadding();
        const auto length = static_cast<std::size_t>(body + header->paddingBytes());
        return body > 0 && at + length <= end_ ? length : 0;
    }

    // The next frame after a damaged stretch: one whose successor is a frame too, or which ends
    // the data.
    std::optional<std::size_t> resync(std::size_t from) const {
        for (std::size_t at = from; at < end_ && at - from < kLongestResync; ++at) {
            if (bytes_[at] != 0xFF) continue;
            const std::size_t length = frameAt(at);
            if (length > 0 && (at + length == end_ || frameAt(at + length) > 0)) return at;
        }
        return std::nullopt;
    }

    std::int64_t count(std::size_t at) const {
        std::int64_t frames = 0;
        while (at < end_) {
            if (const std::size_t length = frameAt(at)) {
                ++frames;
                at += length;
            } else if (const auto next = resync(at + 1)) {
                at = *next;
            } else {
                break;
            }
        }
        return frames;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    const std::size_t end_;
    const audio::FrameHeader first_;
    const int freeFormatLength_;
};

bool isInfoFrame(const std::vector<std::uint8_t>& bytes, std::size_t at, const audio::FrameHeader& header) {
    const std::size_t tag = at + audio::xingTagOffset(header);
    return tag + 4 <= bytes.size() &&
           (std::memcmp(bytes.data() + tag, "Xing", 4) == 0 || std::memcmp(bytes.data() + tag, "Info", 4) == 0);
}

} // namespace

StreamSurvey surveyStream(const std::vector<std::uint8_t>& bytes) {
    StreamSurvey survey;
    std::size_t at = 0;
    const auto start = audio::searchFileForStream(bytes.data(), bytes.size(), at);
    if (!start) return survey;
    survey.header = start->header;
    const std::size_t end = std::max(dataEnd(bytes), at);
    survey.audioFrames = FrameWalk(bytes, end, *start).count(at);
    if (survey.audioFrames > 0 && isInfoFrame(bytes, at, start->header)) --survey.audioFrames;
    return survey;
}

} // namespace vostrel::voicecheck

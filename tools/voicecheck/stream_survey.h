#pragma once
// What a voice file's own bytes say it holds: the MPEG audio stream the player will find, and
// how many frames of audio that stream has. The player's PCM is then checked against it.
#include <cstdint>
#include <optional>
#include <vector>

#include "audio/frame_header.h"

namespace vostrel::voicecheck {

struct StreamSurvey {
    std::optional<audio::FrameHeader> header; // the first header of the stream found
    std::int64_t audioFrames = 0;             // its complete frames, not counting an encoder's Xing/Info frame
};

// The stream search as the decoder does it (past an ID3v2 tag, the same number of attempts), then a walk
// over the stream's frames to the end of the data (a "TAG" trailer excluded), resynchronising
// past damaged stretches as the decoder does.
StreamSurvey surveyStream(const std::vector<std::uint8_t>& bytes);

} // namespace vostrel::voicecheck

#pragma once
// Checks one voice file the way the program will play it: the MPEG stream it holds, and the
// PCM the real player engine makes of it on a recording wave-out device.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/frame_header.h"
#include "platform/sim/sim_wave_out.h"

namespace vostrel::voicecheck {

struct FileReport {
    std::string path;
    std::optional<audio::FrameHeader> stream;  // the first header of the stream found
    int channels = 0;
    int sampleRate = 0;
    std::int64_t frames = 0;
    double seconds = 0;
    std::vector<std::uint8_t> pcm;       // 16-bit interleaved, as the device received it
    std::vector<std::string> problems;   // empty when the file is fine
};

// Plays `path` (UTF-8) through the player engine into `device` and reports what was heard.
// `secondsUntilNextPrompt`: the longest the clip may last, if it is one of the prompts.
FileReport checkFile(const std::string& path, platform::sim::SimWaveOutDriver& device,
                     std::optional<int> secondsUntilNextPrompt);

// For "1speak.mp3" to "8speak.mp3": the time from that prompt to the next prompt of the
// table, for the shortest exam. None for other names and for the last prompt.
std::optional<int> secondsUntilNextPrompt(const std::string& fileName);

std::string describeVersion(const audio::FrameHeader& header);

} // namespace vostrel::voicecheck

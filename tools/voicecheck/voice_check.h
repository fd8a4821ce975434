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

enum class Problem {
    Missing,          // no such file
    NoAudioStream,    // no MPEG audio stream the player accepts
    RefusedByDecoder, // a stream, but the decoder made no PCM of it
    DidNotFinish,     // the engine did not come to the file's end
    Silent,           // what plays peaks below kSilentBelowDbfs
    Short,            // fewer frames play than the stream holds
    LongerThanGap,    // still sounding when the next prompt is due
};

// Quieter than this throughout, a prompt is not heard in a classroom.
inline constexpr double kSilentBelowDbfs = -60.0;

struct FileReport {
    std::string path;
    std::optional<audio::FrameHeader> stream; // the first header of the stream found
    std::int64_t streamFrames = 0;            // frames of audio the stream's own bytes hold
    int channels = 0;
    int sampleRate = 0;
    std::int64_t frames = 0; // frames the player played
    double seconds = 0;
    double peakDbfs = 0;                       // of what the player played; -inf for none
    std::optional<int> secondsUntilNextPrompt; // the longest the clip may last, if a prompt
    std::vector<std::uint8_t> pcm;             // 16-bit interleaved, as the device received it
    std::vector<Problem> problems;             // empty when the file is fine

    bool has(Problem problem) const;
    // The engine made PCM of it: it can be played on a real device.
    bool playable() const { return !pcm.empty(); }
};

// Plays `path` (UTF-8) through the player engine into `device` and reports what was heard.
FileReport checkFile(const std::string& path, platform::sim::SimWaveOutDriver& device,
                     std::optional<int> secondsUntilNextPrompt);

// The peak of 16-bit PCM in dB below full scale; -inf when every sample is 0.
double peakDbfs(const std::vector<std::uint8_t>& pcm);

// For "1speak.mp3" to "8speak.mp3": the prompt's number, 1 to 8. None for other names.
std::optional<int> promptNumber(const std::string& fileName);

// For "1speak.mp3" to "8speak.mp3": the time from that prompt to the next prompt of the
// table, for the shortest exam. None for other names and for the last prompt.
std::optional<int> secondsUntilNextPrompt(const std::string& fileName);

std::string describeVersion(const audio::FrameHeader& header);

} // namespace vostrel::voicecheck

#pragma once
// How a prompt ended, as the play command learns it from the player module: played to its end,
// cut off by the program, or failed, with the system's reason where the system gave one.
#include <string>
#include <string_view>

#include "audio/result.h"

namespace vostrel::audio {

enum class PromptEnd {
    Sounding,         // not ended yet
    PlayedToEnd,      // the device has played the whole file
    CutByPause,       // the operator paused the run
    CutByNextPrompt,  // the next prompt took the device
    CutByProgramEnd,  // the program ended
    DeviceOpenFailed, // no sound device could be opened
    DeviceFailed,     // the device failed while playing
    FileMissing,
    FileUnreadable,
    NoAudioStream,    // no MPEG audio stream in the file
    DamagedFrame,     // the stream broke off at a damaged frame
    EngineFailed,     // anything else inside the engine
    NotPlayed,        // no player could be made
};

struct PlayOutcome {
    PromptEnd end = PromptEnd::Sounding;
    std::string reason; // the system's words, when it gave any
    bool operator==(const PlayOutcome&) const = default;
};

// The outcome of a file that a stage gave up on with this result.
PromptEnd promptEndFor(Result result);

// True for an end the operator need not look at: played to its end, or cut off by the program
// or the operator on purpose.
bool endedWell(PromptEnd end);

// A few words for the operator: "已播放", "无法打开声音设备"…
std::string_view promptEndText(PromptEnd end);

} // namespace vostrel::audio

#pragma once
// The sound check: a voice file played on the real default device through the player engine,
// exactly as the program plays its prompts, with what the device did along the way.
#include <chrono>
#include <string>

#include "platform/wave_out.h"

namespace vostrel::voicecheck {

struct DevicePlay {
    enum class Outcome {
        Played,        // every block reached the device and came back played
        DeviceRefused, // the device could not be opened; `reason` is the system's
        DeviceFailed,  // the device broke off while playing; `reason` is the system's
        Stuck,         // the device took the audio but did not play it out in time
    };
    Outcome outcome = Outcome::Played;
    std::string reason;
};

// Plays `path` (UTF-8) once on `device`, waiting at most `limit` for it to play out.
DevicePlay playOnDevice(const std::string& path, platform::WaveOutDriver& device, std::chrono::milliseconds limit);

} // namespace vostrel::voicecheck

#pragma once
// One file played once through a player module of its own, as the program plays a prompt: the
// checker plays on its recording device, the sound check on the system's default device.
#include <chrono>
#include <functional>
#include <string>

#include "audio/player_entry_table.h"
#include "platform/wave_out.h"

namespace vostrel::voicecheck {

struct EnginePlay {
    bool created = false;       // the engine accepted the file list
    bool ended = false;         // the player came to its end before the limit
    bool closed = false;        // its teardown, device included, finished within the grace time
    audio::PlayOutcome outcome; // how the file ended, as the engine tells the program
};

// Plays `path` on `device` and looks at the player's state every `pollEvery` until it ends,
// `giveUp()` says so or `limit` has passed; then removes the player and gives its teardown
// `grace`. A teardown that still has not finished holds the caller until the device lets go.
EnginePlay playThroughEngine(const std::string& path, platform::WaveOutDriver& device, audio::ProgressWindow* window,
                             std::chrono::milliseconds limit, std::chrono::milliseconds pollEvery,
                             const std::function<bool()>& giveUp, std::chrono::milliseconds grace);

} // namespace vostrel::voicecheck

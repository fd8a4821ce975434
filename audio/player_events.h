#pragma once
// What the pipeline stages tell their player: the file has been played out, or a stage gave
// up on it. The stages post from their own threads; the player handles the events on its
// event thread (audio/README.md: the threads, and where the result goes from here).
//
// Why this shape: a stage knows its owner only as this sink (the player; in tests and fuzz
// targets a sink of their own), and what it hands over is a code, a result and a reason, copied,
// so nothing of a stage is referred to once the call has returned. The codes' numbers only tell
// the two events apart.
#include <string>

#include "audio/result.h"

namespace vostrel::audio {

enum class PlayerEventCode : int { DoneOutputting = 12, StageError = 77 };

class PlayerEventSink {
public:
    virtual ~PlayerEventSink() = default;
    // Called from any pipeline thread; must not block on anything a stage holds.
    virtual void post(PlayerEventCode code) = 0;
    // StageError with the result code that ended the file and, for a device, the system's
    // reason. A sink that keeps no outcome takes it as the bare event.
    virtual void postStageError(Result result, std::string reason) {
        (void)result;
        (void)reason;
        post(PlayerEventCode::StageError);
    }
    // The sound device could not be opened. No event follows: the player stays playing, without
    // sound, until it is removed; only the prompt's outcome learns why.
    virtual void noteDeviceUnavailable(std::string reason) { (void)reason; }
};

} // namespace vostrel::audio

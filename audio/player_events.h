#pragma once
// What the pipeline stages tell their player: the file has been played out, or a stage gave
// up on it. The stages post from their own threads; the player handles the events on its
// event thread.
namespace vostrel::audio {

enum class PlayerEventCode : int { DoneOutputting = 12, StageError = 77 };

class PlayerEventSink {
public:
    virtual ~PlayerEventSink() = default;
    // Called from any pipeline thread; must not block on anything a stage holds.
    virtual void post(PlayerEventCode code) = 0;
};

} // namespace vostrel::audio

#pragma once
// A stand-in for the player module that records every call the play command makes, so tests
// can see exactly which prompts were created, started and removed, and when.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "audio/player_entry_table.h"

namespace vostrel::test {

struct PlayerCall {
    enum class Kind { Create, NewPlay, Remove };
    Kind kind;
    audio::PlayerHandle player;     // the created, started or removed player (null: create failed)
    std::vector<std::string> files; // Create: the file list as decoded
    std::int32_t repeatCount = 0;   // Create
    std::int64_t atMs = 0;          // time of the call by the test's clock
};

class RecordingPlayer {
public:
    // Puts CreatePlayer, NewPlay and RemovePlayer into the table (plus the other three, which
    // the play command must never call).
    void installInto(audio::PlayerEntryTable& table);

    // Stamps every call; without it atMs stays 0.
    void setClock(std::function<std::int64_t()> nowMs) { nowMs_ = std::move(nowMs); }
    // Makes the following creates fail (return null).
    void failCreates(bool fail) { failCreates_ = fail; }
    // How long every prompt sounds by the clock (0: it has ended as soon as it is asked).
    void setPromptLength(std::int64_t ms) { promptLengthMs_ = ms; }
    // Prompts of this file end at once with this outcome instead of playing.
    void failFile(const std::string& file, audio::PlayOutcome outcome) { failures_[file] = std::move(outcome); }

    const std::vector<PlayerCall>& calls() const { return calls_; }
    std::vector<PlayerCall> callsOf(PlayerCall::Kind kind) const;
    // Players created and not removed yet.
    int livePlayers() const { return live_; }
    // Calls of operations the play command has no business with.
    int unexpectedCalls() const { return unexpected_; }
    void clear() { calls_.clear(); }

private:
    audio::PlayerHandle create(const char* fileList, std::int32_t repeatCount);
    void record(PlayerCall call);
    audio::PlayOutcome outcomeOf(audio::PlayerHandle player) const;

    std::vector<PlayerCall> calls_;
    std::function<std::int64_t()> nowMs_;
    bool failCreates_ = false;
    std::int64_t promptLengthMs_ = 0;
    std::map<std::string, audio::PlayOutcome> failures_;
    std::uintptr_t nextHandle_ = 1;
    int live_ = 0;
    int unexpected_ = 0;
};

} // namespace vostrel::test

#include "tests/audio/recording_player.h"

#include <cstring>

namespace vostrel::test {
namespace {

// The names of a NUL-separated file list ended by an empty name.
std::vector<std::string> decodeFileList(const char* fileList) {
    std::vector<std::string> names;
    for (const char* p = fileList; *p; p += std::strlen(p) + 1) names.emplace_back(p);
    return names;
}

} // namespace

void RecordingPlayer::installInto(audio::PlayerEntryTable& table) {
    table.put("CreatePlayer",
              audio::CreatePlayerOp{[this](const char* list, std::int32_t count) { return create(list, count); }});
    table.put("NewPlay", audio::NewPlayOp{[this](audio::PlayerHandle p, audio::ProgressWindow* window, const char* pass,
                                                 std::int32_t startPercent) {
                  // The play command starts every player from its beginning without any window.
                  if (window || pass || startPercent != 0) ++unexpected_;
                  record({PlayerCall::Kind::NewPlay, p, {}, 0, 0});
              }});
    table.put("RemovePlayer", audio::RemovePlayerOp{[this](audio::PlayerHandle p) {
                  --live_;
                  record({PlayerCall::Kind::Remove, p, {}, 0, 0});
              }});
    table.put("Play", audio::PlayOp{[this](audio::PlayerHandle) { ++unexpected_; }});
    table.put("GetPlayState", audio::GetPlayStateOp{[this](audio::PlayerHandle) {
                  ++unexpected_;
                  return std::int32_t{0};
              }});
    table.put("SetPauseState", audio::SetPauseStateOp{[this](audio::PlayerHandle, std::int32_t) { ++unexpected_; }});
    table.put("GetPlayOutcome", audio::GetPlayOutcomeOp{[this](audio::PlayerHandle p) { return outcomeOf(p); }});
}

audio::PlayOutcome RecordingPlayer::outcomeOf(audio::PlayerHandle player) const {
    for (const PlayerCall& c : calls_) {
        if (c.kind != PlayerCall::Kind::Create || c.player != player) continue;
        if (const auto failure = failures_.find(c.files.at(0)); failure != failures_.end()) return failure->second;
        const bool sounding = nowMs_ && nowMs_() - c.atMs < promptLengthMs_;
        return {sounding ? audio::PromptEnd::Sounding : audio::PromptEnd::PlayedToEnd, {}};
    }
    return {audio::PromptEnd::NotPlayed, {}};
}

audio::PlayerHandle RecordingPlayer::create(const char* fileList, std::int32_t repeatCount) {
    audio::PlayerHandle player = nullptr;
    if (!failCreates_) {
        player = reinterpret_cast<audio::PlayerHandle>(nextHandle_++);
        ++live_;
    }
    record({PlayerCall::Kind::Create, player, decodeFileList(fileList), repeatCount, 0});
    return player;
}

void RecordingPlayer::record(PlayerCall call) {
    if (nowMs_) call.atMs = nowMs_();
    calls_.push_back(std::move(call));
}

std::vector<PlayerCall> RecordingPlayer::callsOf(PlayerCall::Kind kind) const {
    std::vector<PlayerCall> matching;
    for (const PlayerCall& c : calls_)
        if (c.kind == kind) matching.push_back(c);
    return matching;
}

} // namespace vostrel::test

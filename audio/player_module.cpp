#include "audio/player_module.h"

#include "audio/player.h"

namespace vostrel::audio {

namespace {
Player* asPlayer(PlayerHandle handle) { return static_cast<Player*>(handle); }
} // namespace

void registerPlayerModule(PlayerEntryTable& table, platform::WaveOutDriver& driver, TeardownReaper& reaper) {
    table.put("CreatePlayer", CreatePlayerOp{[&driver](const char* fileList, std::int32_t repeatCount) -> PlayerHandle {
                  // The handle owns the player from here until RemovePlayer.
                  return Player::create(fileList, repeatCount, driver).release();
              }});
    table.put("NewPlay", NewPlayOp{[](PlayerHandle handle, ProgressWindow* window, const char* passPhrase,
                                      std::int32_t startPercent) {
                  if (handle) asPlayer(handle)->newPlay(window, passPhrase, startPercent);
              }});
    table.put("Play", PlayOp{[](PlayerHandle handle) {
                  if (handle) asPlayer(handle)->newPlay(nullptr, nullptr, 0);
              }});
    table.put("GetPlayState", GetPlayStateOp{[](PlayerHandle handle) -> std::int32_t {
                  return handle ? asPlayer(handle)->playState() : 0;
              }});
    table.put("SetPauseState", SetPauseStateOp{[](PlayerHandle handle, std::int32_t pause) {
                  if (handle) asPlayer(handle)->setPauseState(pause);
              }});
    table.put("GetPlayOutcome", GetPlayOutcomeOp{[](PlayerHandle handle) -> PlayOutcome {
                  return handle ? asPlayer(handle)->playOutcome() : PlayOutcome{PromptEnd::NotPlayed, {}};
              }});
    table.put("RemovePlayer", RemovePlayerOp{[&reaper](PlayerHandle handle) {
                  if (Player* player = asPlayer(handle)) reaper.run([player] { delete player; });
              }});
}

} // namespace vostrel::audio

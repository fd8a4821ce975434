#include "tools/voicecheck/engine_play.h"

#include <thread>

#include "audio/player_module.h"
#include "audio/teardown_reaper.h"

namespace vostrel::voicecheck {

EnginePlay playThroughEngine(const std::string& path, platform::WaveOutDriver& device, audio::ProgressWindow* window,
                             std::chrono::milliseconds limit, std::chrono::milliseconds pollEvery,
                             const std::function<bool()>& giveUp, std::chrono::milliseconds grace) {
    audio::TeardownReaper reaper;
    audio::PlayerEntryTable table;
    audio::registerPlayerModule(table, device, reaper);
    std::string list = path; // a file list: names ended by NUL, the list by a second NUL
    list.push_back('\0');
    list.push_back('\0');

    EnginePlay play;
    audio::PlayerHandle player = table.find<audio::CreatePlayerOp>("CreatePlayer")->call(list.c_str(), 1);
    play.created = player != nullptr;
    if (!play.created) return play;
    table.find<audio::NewPlayOp>("NewPlay")->call(player, window, nullptr, 0);
    const auto* state = table.find<audio::GetPlayStateOp>("GetPlayState");
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (state->call(player) != 0 && !giveUp() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(pollEvery);
    }
    play.ended = state->call(player) == 0;
    play.outcome = table.find<audio::GetPlayOutcomeOp>("GetPlayOutcome")->call(player);
    table.find<audio::RemovePlayerOp>("RemovePlayer")->call(player);
    play.closed = reaper.finish(grace);
    return play;
}

} // namespace vostrel::voicecheck

#pragma once
// A player: plays a list of MP3 files a number of times through the wave-out device, entirely
// on threads of its own. Each file is played by one pipeline (its engine, a WaveOutputStage);
// the player's event thread receives the pipeline's DoneOutputting and StageError and walks
// the file list.
//
// Contract (its threads, locks and teardown among the engine's: audio/README.md)
// - create/newPlay/playState/setPauseState and the destructor are called by one caller at a
//   time (the play command's thread); the event thread runs newPlay for the next file.
// - One player mutex makes newPlay, the handling of an event and the teardown exclusive: each
//   of them replaces or destroys the engine, so it comes before the engine's locks.
// - The outcome of the current file (playOutcome) is set when a file starts, when its terminal
//   event is handled and when its device cannot be opened; the play command reads it.
// - The destructor returns only when the engine's threads and the event thread have ended
//   and the device is closed.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/play_outcome.h"
#include "audio/player_entry_table.h"
#include "audio/player_events.h"
#include "audio/semaphore.h"
#include "audio/wave_output_stage.h"
#include "audio/worker_thread.h"
#include "platform/wave_out.h"

namespace vostrel::audio {

enum class PlayState { Paused = 1, Playing = 2, Stopped = 3 };

class Player {
public:
    // fileList: NUL-terminated names one after the other, ended by an empty name. A negative
    // count is stored as 0 (repeat until removed). Null when the player cannot be built.
    static std::unique_ptr<Player> create(const char* fileList, std::int32_t repeatCount,
                                          platform::WaveOutDriver& driver);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Starts the current file (a paused player resumes it). passPhrase may be null.
    void newPlay(ProgressWindow* window, const char* passPhrase, std::int32_t startPercent);
    // -1 paused, 1 playing, 0 otherwise.
    std::int32_t playState() const;
    // Non-zero pauses a playing player, zero resumes a paused one.
    void setPauseState(std::int32_t pause);
    // How the current file's prompt has ended so far (Sounding while it plays).
    PlayOutcome playOutcome() const;

    // Pass phrases of this length or longer start nothing.
    static constexpr std::size_t kPassPhraseLimit = 512;
    // The least time between two attempts at a list that keeps failing, when repeating forever.
    static constexpr int kFailedRetryDelayMs = 100;

private:
    // The pipeline's events, tagged with the engine they come from so that an event of an
    // engine that has since been replaced cannot end the file after it.
    class EngineEvents final : public PlayerEventSink {
    public:
        EngineEvents(Player& player, std::uint64_t generation) : player_(player), generation_(generation) {}
        void post(PlayerEventCode code) override { player_.post({code, generation_, Result::Ok, {}}); }
        void postStageError(Result result, std::string reason) override {
            player_.post({PlayerEventCode::StageError, generation_, result, std::move(reason)});
        }
        void noteDeviceUnavailable(std::string reason) override {
            player_.noteDeviceUnavailable(generation_, std::move(reason));
        }

    private:
        Player& player_;
        std::uint64_t generation_;
    };
    struct Event {
        PlayerEventCode code;
        std::uint64_t generation;
        Result result = Result::Ok; // StageError: what ended the file
        std::string reason;
    };

    Player(std::int32_t repeatCount, platform::WaveOutDriver& driver);
    void post(Event event);
    void noteDeviceUnavailable(std::uint64_t generation, std::string reason);
    void setOutcome(PlayOutcome outcome);
    void eventThread();
    void handleEvent(const Event& event);
    void newPlayLocked(ProgressWindow* window, const char* passPhrase, std::int32_t startPercent);
    void destroyEngineLocked();
    const char* currentName() const { return fileList_.data() + currentFile_; }

    platform::WaveOutDriver& driver_;

    Semaphore wakeup_;
    std::mutex queueMutex_; // leaf
    std::deque<Event> queue_;

    mutable std::mutex playerMutex_;
    std::condition_variable quitSignal_; // with playerMutex_: ends the retry delay early
    std::atomic<PlayState> state_{PlayState::Stopped};
    std::atomic<bool> quit_{false};
    std::int32_t repeatCount_ = 0;
    std::vector<char> fileList_; // empty when the list held no name
    std::size_t currentFile_ = 0;
    ProgressWindow* window_ = nullptr;
    std::string passPhrase_;
    std::uint64_t generation_ = 0;  // of the last engine built
    bool generationHandled_ = true; // its terminal event has been handled
    std::unique_ptr<EngineEvents> engineEvents_;
    mutable std::mutex outcomeMutex_;                  // leaf
    PlayOutcome outcome_{PromptEnd::NotPlayed, {}};    // until a file starts
    std::atomic<std::uint64_t> soundingGeneration_{0}; // the engine whose outcome is still open
    std::unique_ptr<WaveOutputStage> engine_;
    WorkerThread eventThread_;
};

} // namespace vostrel::audio

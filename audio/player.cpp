#include "audio/player.h"

#include <chrono>
#include <cstring>
#include <new>
#include <optional>

namespace vostrel::audio {

Player::Player(std::int32_t repeatCount, platform::WaveOutDriver& driver)
    : driver_(driver), repeatCount_(repeatCount < 0 ? 0 : repeatCount) {}

std::unique_ptr<Player> Player::create(const char* fileList, std::int32_t repeatCount,
                                       platform::WaveOutDriver& driver) {
    try {
        std::unique_ptr<Player> player(new Player(repeatCount, driver));
        // The list up to and including its terminating empty name.
        std::size_t length = 0;
        if (fileList) {
            while (fileList[length] != '\0') length += std::strlen(fileList + length) + 1;
        }
        if (length > 0) {
            player->fileList_.assign(fileList, fileList + length + 1);
            player->currentFile_ = 0;
            if (!player->eventThread_.create([p = player.get()] { p->eventThread(); })) return nullptr;
        }
        return player;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

Player::~Player() {
    {
        const std::lock_guard lock(playerMutex_);
        destroyEngineLocked();
        quit_ = true;
    }
    quitSignal_.notify_all();
    wakeup_.release();
    eventThread_.join();
    // An event handled between the first teardown and the join may have built a new engine.
    const std::lock_guard lock(playerMutex_);
    destroyEngineLocked();
}

void Player::post(Event event) {
    {
        const std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(event));
    }
    wakeup_.release();
}

void Player::noteDeviceUnavailable(std::uint64_t generation, std::string reason) {
    if (generation != soundingGeneration_) return;
    setOutcome({PromptEnd::DeviceOpenFailed, std::move(reason)});
}

void Player::setOutcome(PlayOutcome outcome) {
    const std::lock_guard lock(outcomeMutex_);
    outcome_ = std::move(outcome);
}

PlayOutcome Player::playOutcome() const {
    const std::lock_guard lock(outcomeMutex_);
    return outcome_;
}

void Player::eventThread() {
    for (;;) {
        std::optional<Event> event;
        {
            const std::lock_guard lock(queueMutex_);
            if (!queue_.empty()) {
                event = queue_.front();
                queue_.pop_front();
            }
        }
        if (!event) {
            wakeup_.acquire();
            if (quit_) return;
            continue;
        }
        handleEvent(*event);
        if (quit_) return;
    }
}

void Player::handleEvent(const Event& event) {
    std::unique_lock lock(playerMutex_);
    if (quit_) return;
    if (event.code != PlayerEventCode::DoneOutputting && event.code != PlayerEventCode::StageError) return;
    // Only the first terminal event of the current engine counts.
    if (event.generation != generation_ || generationHandled_) return;
    generationHandled_ = true;
    soundingGeneration_ = 0;
    if (event.code == PlayerEventCode::DoneOutputting)
        setOutcome({PromptEnd::PlayedToEnd, {}});
    else
        setOutcome({promptEndFor(event.result), event.reason});

    destroyEngineLocked();
    state_ = PlayState::Stopped;
    if (window_ && window_->exists()) window_->postProgress(100);

    currentFile_ += std::strlen(currentName()) + 1;
    if (*currentName() == '\0') {
        currentFile_ = 0;
        if (repeatCount_ > 0 && --repeatCount_ == 0) {
            quit_ = true; // the last pass is over: the event thread ends
            return;
        }
    }
    if (event.code == PlayerEventCode::StageError && repeatCount_ == 0) {
        // A list that keeps failing would otherwise be retried as fast as a core allows.
        if (quitSignal_.wait_for(lock, std::chrono::milliseconds(kFailedRetryDelayMs), [&] { return quit_.load(); })) {
            return;
        }
        if (state_ != PlayState::Stopped || engine_) return; // the caller started a file meanwhile
    }
    newPlayLocked(window_, passPhrase_.c_str(), 0);
}

void Player::newPlay(ProgressWindow* window, const char* passPhrase, std::int32_t startPercent) {
    const std::lock_guard lock(playerMutex_);
    newPlayLocked(window, passPhrase, startPercent);
}

void Player::destroyEngineLocked() {
    engine_.reset(); // returns once its threads have ended and the device is closed
    engineEvents_.reset();
}

void Player::newPlayLocked(ProgressWindow* window, const char* passPhrase, std::int32_t startPercent) {
    if (state_ == PlayState::Playing) {
        engine_->pause();
        destroyEngineLocked();
        state_ = PlayState::Stopped;
    }
    const bool passPhraseTooLong = passPhrase && std::strlen(passPhrase) >= kPassPhraseLimit;
    if (passPhraseTooLong || fileList_.empty() || *currentName() == '\0') {
        window_ = nullptr;
        passPhrase_.clear();
        return;
    }
    if (!engine_) {
        ++generation_;
        generationHandled_ = false;
        soundingGeneration_ = generation_;
        setOutcome({});
        engineEvents_ = std::make_unique<EngineEvents>(*this, generation_);
        engine_ = std::make_unique<WaveOutputStage>(engineEvents_.get(), window, driver_);
        if (engine_->open(currentName(), passPhrase ? passPhrase : "") != Result::Ok) {
            // The input stage has posted StageError, which walks the list on.
            engine_.reset();
        }
    }
    if (!engine_) {
        window_ = nullptr;
        passPhrase_.clear();
        return;
    }
    window_ = window;
    if (passPhrase && passPhrase_ != passPhrase) passPhrase_ = passPhrase;
    if (startPercent != 0) engine_->setStartPosition(startPercent);
    engine_->resume();
    state_ = PlayState::Playing;
}

std::int32_t Player::playState() const {
    switch (state_.load()) {
    case PlayState::Paused: return -1;
    case PlayState::Playing: return 1;
    case PlayState::Stopped: return 0;
    }
    return 0;
}

void Player::setPauseState(std::int32_t pause) {
    const std::lock_guard lock(playerMutex_);
    if (pause != 0 && state_ == PlayState::Playing && engine_) {
        engine_->pause();
        state_ = PlayState::Paused;
    } else if (pause == 0 && state_ == PlayState::Paused && engine_) {
        engine_->resume();
        state_ = PlayState::Playing;
    }
}

} // namespace vostrel::audio

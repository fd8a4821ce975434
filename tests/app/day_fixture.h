#pragma once
// A day of the whole program on the simulated platform with the shipped voice files beside it, the
// recording player standing in for the sound (stamped by the wall clock, in milliseconds of the
// day), and the files the program writes beside its settings at hand.
#include <memory>
#include <string>
#include <vector>

#include "tests/app/program_fixture.h"
#include "tests/audio/recording_player.h"

namespace vostrel::test {

class DayFixture : public ProgramFixture {
protected:
    explicit DayFixture(platform::LocalDateTime start = {2026, 12, 8, 7, 50, 0, 0});
    // The program ends before the recorder it plays through goes.
    ~DayFixture() override {
        if (program) program->finish();
    }

    // The eight voice files we ship, but for the rows named.
    void placeVoiceFiles(const std::vector<int>& leftOut = {});
    // Starts the program; the voice files' check has been done when it returns.
    void startWithRecorder();
    // Saves the window's times and starts the run (the check of the voice files done too).
    void saveAndStart();
    // Waits (real time, bounded) until the record's worker has done what was queued.
    void waitForTheWriter();
    // The record's lines, once the program has ended (its writer has written everything).
    std::vector<std::string> recordLines() const;
    std::string planPage() const;
    std::string voicePath(int row) const;
    // The prompt number and "hh:mm" of every prompt played, in order.
    std::vector<std::pair<int, std::string>> promptsHeard() const;
    // The operator ends a running day: the question is answered 是.
    void endTheDay();

    // The program started again in the same folder (another day, a restart): a platform of its
    // own, in a session of its own unless two copies are to meet.
    struct LaterStart {
        LaterStart(const std::string& folder, platform::LocalDateTime start, std::string session,
                   app::PlayerModuleInstaller installer);
        platform::sim::SimPlatform sim;
        app::Program program;
    };
    std::unique_ptr<LaterStart> startAgain(platform::LocalDateTime start, std::string session,
                                           app::PlayerModuleInstaller installer = {});

    RecordingPlayer recorder;
};

// "hh:mm" of a recorder stamp.
std::string clockOf(std::int64_t ms);

} // namespace vostrel::test

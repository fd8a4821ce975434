// How each prompt ended reaches the play command through the real engine on the simulated
// device: played out, cut off for each of the program's reasons, or failed with the reason the
// device or the file gave.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/play_command.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutMode;
using Cause = PlaySlot::StopCause;

class PromptOutcome : public ::testing::Test {
protected:
    explicit PromptOutcome(SimWaveOutMode mode = SimWaveOutMode::Instant) : harness(mode) {}
    ~PromptOutcome() override {
        slot.StopPlayback();
        std::filesystem::remove_all(scratch);
    }

    void play(const std::string& file) { slot.PlayMp3(1, {file}); }
    // Waits until the prompt has ended, however it ends.
    PlayOutcome ended() {
        EXPECT_TRUE(eventually([&] { return slot.outcome().end != PromptEnd::Sounding; }));
        return slot.outcome();
    }
    // A prompt that sounds and keeps sounding: the device stalls after its first block.
    void playAndHold() {
        const std::size_t session = harness.device.record().sessions.size();
        harness.device.stallAfter(kStereoBlockBytes);
        play(testFile("cbr.mp3"));
        ASSERT_TRUE(harness.device.waitFor(
            [&](const auto& r) { return r.sessions.size() > session && r.sessions[session].played > 0; }, 20s));
        ASSERT_EQ(slot.outcome().end, PromptEnd::Sounding);
    }
    std::string scratchFile(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(scratch);
        const std::string path = (scratch / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string bytesOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    PlayerHarness harness;
    PlaySlot slot{harness.table};
    std::filesystem::path scratch = std::filesystem::temp_directory_path() / ("vostrel-outcome-" + std::to_string(::getpid()));
};

TEST_F(PromptOutcome, NothingPlayedYetThenPlayedToItsEnd) {
    EXPECT_EQ(slot.outcome().end, PromptEnd::NotPlayed);
    play(testFile("cbr.mp3"));
    EXPECT_EQ(ended(), (PlayOutcome{PromptEnd::PlayedToEnd, ""}));
    EXPECT_TRUE(endedWell(PromptEnd::PlayedToEnd));
}

TEST_F(PromptOutcome, ASoundingPromptIsCutByWhatRemovesIt) {
    for (const auto& [cause, end] : {std::pair{Cause::Pause, PromptEnd::CutByPause},
                                     std::pair{Cause::NextPrompt, PromptEnd::CutByNextPrompt},
                                     std::pair{Cause::ProgramEnd, PromptEnd::CutByProgramEnd}}) {
        SCOPED_TRACE(std::string(promptEndText(end)));
        playAndHold();
        slot.StopPlayback(cause);
        EXPECT_EQ(slot.outcome().end, end);
        harness.device.releaseStall();
    }
    // A prompt that had ended keeps its own end when it is removed.
    play(testFile("cbr.mp3"));
    ended();
    slot.StopPlayback();
    EXPECT_EQ(slot.outcome().end, PromptEnd::PlayedToEnd);
}

TEST_F(PromptOutcome, ADeviceThatFailsWhilePlayingGivesTheSystemsReason) {
    harness.device.failNextWrite("设备已被拔出");
    play(testFile("cbr.mp3"));
    EXPECT_EQ(ended(), (PlayOutcome{PromptEnd::DeviceFailed, "设备已被拔出"}));
    EXPECT_FALSE(endedWell(PromptEnd::DeviceFailed));
}

TEST_F(PromptOutcome, FilesThatCannotPlaySayWhy) {
    const std::string damaged = scratchFile("damaged.mp3", bytesOf(testFile("cbr.mp3")).substr(0, 20000) +
                                                               std::string(3000, '\0'));
    const std::vector<std::pair<std::string, PromptEnd>> cases = {
        {(scratch / "missing.mp3").string(), PromptEnd::FileMissing},
        {scratch.string(), PromptEnd::FileUnreadable}, // a folder
        {testFile("not_mp3.mp3"), PromptEnd::NoAudioStream},
        {testFile("layer1.mp3"), PromptEnd::NoAudioStream},
        {damaged, PromptEnd::DamagedFrame},
    };
    for (const auto& [file, end] : cases) {
        SCOPED_TRACE(file);
        play(file);
        EXPECT_EQ(ended().end, end);
    }
}

class PromptOutcomeWithoutDevice : public PromptOutcome {
protected:
    PromptOutcomeWithoutDevice() : PromptOutcome(SimWaveOutMode::Absent) {}
};

TEST_F(PromptOutcomeWithoutDevice, NoDeviceGivesTheSystemsReasonAndThePlayerStaysAsItWas) {
    play(testFile("cbr.mp3"));
    EXPECT_EQ(ended(), (PlayOutcome{PromptEnd::DeviceOpenFailed, platform::sim::kAbsentDeviceReason}));
    // As before, the player itself stays playing without sound until it is removed.
    EXPECT_EQ(harness.table.find<GetPlayStateOp>("GetPlayState")->call(slot.CurrentPlayer()), 1);
    slot.StopPlayback();
    EXPECT_EQ(slot.outcome().end, PromptEnd::DeviceOpenFailed);
}

} // namespace
} // namespace vostrel::audio::test

// The whole program on the simulated platform with the real player engine: the prompts the
// schedule asks for are heard on the device, whole, one after the other.
#include <gtest/gtest.h>

#include "tests/audio/engine_program_fixture.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"
#include "tests/audio/voice_assets.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutRecord;

using PromptHeard = EngineProgramFixture;

TEST_F(PromptHeard, EachPromptOfTheScheduleIsHeardWholeAndAloneOnTheDevice) {
    startChineseAtNine(8);
    ASSERT_EQ(controls().text("按钮2"), "工作中...");

    // 08:35 is 25 minutes before the start: the first prompt.
    sim.advanceToTime(8, 35, 1);
    ASSERT_TRUE(
        device.waitFor([](const SimWaveOutRecord& r) { return r.sessions.size() == 1 && r.sessions[0].closed; }, 20s));
    // 08:40: the second; the first player is removed before it starts.
    sim.advanceToTime(8, 40, 1);
    ASSERT_TRUE(
        device.waitFor([](const SimWaveOutRecord& r) { return r.sessions.size() == 2 && r.sessions[1].closed; }, 20s));

    const SimWaveOutRecord record = device.record();
    for (int row = 1; row <= 2; ++row) {
        const auto& session = record.sessions[static_cast<std::size_t>(row - 1)];
        const ReferencePcm& reference = referenceDecode(voiceAsset(row));
        const std::vector<std::int16_t> heard = samplesOf(session.heard);
        ASSERT_EQ(heard.size(), reference.samples.size()) << "prompt " << row;
        int worst = 0;
        for (std::size_t i = 0; i < heard.size(); ++i)
            worst = std::max(worst, std::abs(heard[i] - reference.samples[i]));
        EXPECT_LE(worst, 1) << "prompt " << row;
    }
    EXPECT_EQ(record.openDevices, 0u);
}

TEST_F(PromptHeard, PausingTheRunSilencesASoundingPrompt) {
    device.setMode(platform::sim::SimWaveOutMode::RealTime);
    startChineseAtNine(1);
    sim.advanceToTime(8, 35, 1);
    ASSERT_TRUE(
        device.waitFor([](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].played > 0; }, 20s));

    sim.click("按钮2"); // pause the run: playback stops before the click returns
    const SimWaveOutRecord record = device.record();
    EXPECT_EQ(record.openDevices, 0u);
    EXPECT_TRUE(record.sessions[0].closed);
    EXPECT_GT(record.sessions[0].returnedByReset, 0u);
}

} // namespace
} // namespace vostrel::audio::test

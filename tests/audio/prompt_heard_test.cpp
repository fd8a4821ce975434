// The whole program on the simulated platform with the real player engine: the prompts the
// schedule asks for are heard on the device, whole, one after the other.
#include <gtest/gtest.h>

#include "audio/player_module.h"
#include "platform/sim/sim_wave_out.h"
#include "tests/app/program_fixture.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"
#include "tests/audio/voice_assets.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutRecord;

class PromptHeard : public vostrel::test::ProgramFixture {
protected:
    PromptHeard() : ProgramFixture({2026, 12, 8, 8, 30, 0, 0}) {}
    // The program's players use the device: they go first.
    void TearDown() override { program.reset(); }

    platform::sim::SimWaveOutDriver device;
    TeardownReaper reaper;
};

TEST_F(PromptHeard, EachPromptOfTheScheduleIsHeardWholeAndAloneOnTheDevice) {
    for (int row = 1; row <= 8; ++row) writeProgramFile(voiceFilePlace(row), readAll(voiceAsset(row)));
    startProgram([this](PlayerEntryTable& table) { registerPlayerModule(table, device, reaper); });
    sim.tick("语文");
    sim.advance(200);
    sim.clearAndType("语文时间", "09:00");
    sim.click("按钮1");
    sim.click("按钮2");
    ASSERT_EQ(controls().text("按钮2"), "工作中...");

    // 08:35 is 25 minutes before the start: the first prompt.
    sim.advanceToTime(8, 35, 1);
    ASSERT_TRUE(device.waitFor([](const SimWaveOutRecord& r) { return r.sessions.size() == 1 && r.sessions[0].closed; }, 20s));
    // 08:40: the second; the first player is removed before it starts.
    sim.advanceToTime(8, 40, 1);
    ASSERT_TRUE(device.waitFor([](const SimWaveOutRecord& r) { return r.sessions.size() == 2 && r.sessions[1].closed; }, 20s));

    const SimWaveOutRecord record = device.record();
    for (int row = 1; row <= 2; ++row) {
        const auto& session = record.sessions[static_cast<std::size_t>(row - 1)];
        const ReferencePcm& reference = referenceDecode(voiceAsset(row));
        const std::vector<std::int16_t> heard = samplesOf(session.heard);
        ASSERT_EQ(heard.size(), reference.samples.size()) << "prompt " << row;
        int worst = 0;
        for (std::size_t i = 0; i < heard.size(); ++i) worst = std::max(worst, std::abs(heard[i] - reference.samples[i]));
        EXPECT_LE(worst, 1) << "prompt " << row;
    }
    EXPECT_EQ(record.openDevices, 0u);
}

TEST_F(PromptHeard, PausingTheRunSilencesASoundingPrompt) {
    writeProgramFile(voiceFilePlace(1), readAll(voiceAsset(1)));
    device.setMode(platform::sim::SimWaveOutMode::RealTime);
    startProgram([this](PlayerEntryTable& table) { registerPlayerModule(table, device, reaper); });
    sim.tick("语文");
    sim.advance(200);
    sim.clearAndType("语文时间", "09:00");
    sim.click("按钮1");
    sim.click("按钮2");
    sim.advanceToTime(8, 35, 1);
    ASSERT_TRUE(device.waitFor([](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].played > 0; }, 20s));

    sim.click("按钮2");  // pause the run: playback stops before the click returns
    const SimWaveOutRecord record = device.record();
    EXPECT_EQ(record.openDevices, 0u);
    EXPECT_TRUE(record.sessions[0].closed);
    EXPECT_GT(record.sessions[0].returnedByReset, 0u);
}

} // namespace
} // namespace vostrel::audio::test

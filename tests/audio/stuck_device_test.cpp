// A sound device that hangs inside a call never holds the window: the clock goes on, the next
// prompt is requested on time and plays on a fresh device, and once the device lets go every
// thread of the stuck prompt ends and nothing is left behind.
#include <gtest/gtest.h>

#include "tests/audio/engine_program_fixture.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"
#include "tests/audio/voice_assets.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutRecord;
using platform::sim::SimWaveOutStep;

class StuckDevice : public EngineProgramFixture, public ::testing::WithParamInterface<SimWaveOutStep> {
protected:
    StuckDevice() : EngineProgramFixture(platform::sim::SimWaveOutMode::RealTime) {}
    // 语文 at 09:00, saved and started: its first prompt comes at 08:35, the second at 08:40.
    void startARun() { startChineseAtNine(2); }
};

bool sounding(const SimWaveOutRecord& r, std::size_t session) {
    return r.sessions.size() > session && r.sessions[session].played > 0;
}

TEST_P(StuckDevice, TheWindowGoesOnAndTheNextPromptPlaysOnAFreshDevice) {
    const SimWaveOutStep step = GetParam();
    const std::size_t threadsBefore = threadCount();
    startARun();

    // The 08:35 prompt meets the hang: in a call made while it plays (open, write), or in its
    // teardown when the 08:40 prompt removes it (reset, close).
    device.hangAt(step);
    sim.advanceToTime(8, 35, 1);
    const bool hangsWhilePlaying = step == SimWaveOutStep::Open || step == SimWaveOutStep::Write;
    ASSERT_TRUE(device.waitFor(
        [&](const SimWaveOutRecord& r) { return hangsWhilePlaying ? r.hungCalls == 1 : sounding(r, 0); }, 20s));
    const std::size_t fresh = device.record().sessions.size();

    sim.advanceToTime(8, 40, 1);
    ASSERT_TRUE(device.waitFor([&](const SimWaveOutRecord& r) { return r.hungCalls == 1 && sounding(r, fresh); }, 20s))
        << "the 08:40 prompt did not play";
    EXPECT_EQ(reaper.running(), 1u) << "the stuck prompt's teardown goes on apart";
    std::string shown = controls().text("透明标签2");
    for (int second = 0; second < 3; ++second) {
        sim.advance(1000);
        EXPECT_NE(controls().text("透明标签2"), shown) << "the clock stopped";
        shown = controls().text("透明标签2");
    }

    // What the fresh device plays is the 08:40 prompt from its start.
    const std::vector<std::int16_t> heard = samplesOf(device.record().sessions[fresh].heard);
    const std::vector<std::int16_t>& reference = referenceDecode(voiceAsset(2)).samples;
    ASSERT_LE(heard.size(), reference.size());
    for (std::size_t i = 0; i < heard.size(); ++i) ASSERT_LE(std::abs(heard[i] - reference[i]), 1) << "sample " << i;

    // The device lets go; the program ends; everything of both prompts is gone.
    EXPECT_FALSE(reaper.finish(0ms));
    device.releaseHang();
    sim.setQuestionResponder([](const auto&, auto&) { return true; }); // yes, end the running day
    sim.pressEscape();
    EXPECT_EQ(runToEnd(), 0);
    ASSERT_TRUE(reaper.finish(20s));
    const SimWaveOutRecord record = device.record();
    EXPECT_EQ(record.openDevices, 0u);
    EXPECT_EQ(record.sessions.size(), 2u);
    for (const auto& session : record.sessions) EXPECT_TRUE(session.closed);
    EXPECT_EQ(threadCount(), threadsBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, StuckDevice,
                         ::testing::Values(SimWaveOutStep::Open, SimWaveOutStep::Write, SimWaveOutStep::Reset,
                                           SimWaveOutStep::Close),
                         [](const ::testing::TestParamInfo<SimWaveOutStep>& info) {
                             switch (info.param) {
                             case SimWaveOutStep::Open: return std::string("HangInOpen");
                             case SimWaveOutStep::Write: return std::string("HangInWrite");
                             case SimWaveOutStep::Reset: return std::string("HangInReset");
                             case SimWaveOutStep::Close: return std::string("HangInClose");
                             }
                             return std::string();
                         });

} // namespace
} // namespace vostrel::audio::test

// The play command on the real player engine: every prompt cuts the one before it off, and a
// thousand of them leave nothing behind.
#include <gtest/gtest.h>

#include "audio/play_command.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutMode;
using platform::sim::SimWaveOutRecord;

TEST(PlayCommandOnTheEngine, ThousandPromptsEachReplacingASoundingOneLeakNothing) {
    constexpr std::size_t kPrompts = 1000;
    PlayerHarness h(SimWaveOutMode::RealTime);
    h.device.setRecordPcm(false);
    const std::string files[] = {testFile("cbr.mp3"), testFile("vbr_xing.mp3")};
    const std::size_t threadsBefore = threadCount();
    const std::size_t descriptorsBefore = openDescriptorCount();
    {
        PlaySlot slot(h.table);
        for (std::size_t i = 0; i < kPrompts; ++i) {
            slot.PlayMp3(1, {std::string_view(files[i % 2])});
            // Sounding: its device is open and has PCM queued.
            ASSERT_TRUE(h.device.waitFor(
                [&](const SimWaveOutRecord& r) { return r.sessions.size() == i + 1 && r.sessions[i].written > 0; },
                20s))
                << "prompt " << i;
            ASSERT_EQ(h.device.record().openDevices, 1u) << "two prompts at once at " << i;
        }
        slot.StopPlayback();
        EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    }
    const SimWaveOutRecord record = h.device.record();
    EXPECT_EQ(record.openDevices, 0u);
    ASSERT_EQ(record.sessions.size(), kPrompts);
    for (const auto& session : record.sessions) {
        EXPECT_TRUE(session.closed);
        EXPECT_EQ(session.queued(), 0u);
    }
    EXPECT_EQ(threadCount(), threadsBefore);
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
}

TEST(PlayCommandOnTheEngine, StopPlaybackSilencesAtOnceAndAMissingFileIsSilent) {
    PlayerHarness h(SimWaveOutMode::RealTime);
    PlaySlot slot(h.table);
    slot.PlayMp3(1, {std::string_view(testFile("long.mp3"))});
    ASSERT_TRUE(h.device.waitFor(
        [](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].played > 0; }, 20s));
    slot.StopPlayback();
    EXPECT_EQ(h.device.record().openDevices, 0u);

    slot.PlayMp3(1, {std::string_view(testFile("no_such_file.mp3"))});
    EXPECT_NE(slot.CurrentPlayer(), nullptr) << "an idle player stays in the slot";
    slot.PlayMp3(1, {std::string_view(testFile("few_frames.mp3"))});
    ASSERT_TRUE(h.waitForClosedSessions(2));
    EXPECT_EQ(h.device.record().sessions[1].heard.size(), referencePcmBytes(testFile("few_frames.mp3")));
    slot.StopPlayback();
}

} // namespace
} // namespace vostrel::audio::test

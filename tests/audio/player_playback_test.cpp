// Whole files through the player and the simulated device: what would have been heard.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/audio/pipeline_runner.h"
#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutCall;
using platform::sim::SimWaveOutMode;
using platform::sim::SimWaveOutRecord;

class PlayedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(PlayedFile, IsHeardToTheEndAsAnIndependentDecoderGivesItEventDriven) {
    PlayerHarness h;
    const std::string file = testFile(GetParam());
    PlayerHandle player = h.create({file}, 1);
    ASSERT_NE(player, nullptr);
    h.newPlay(player);
    ASSERT_TRUE(h.waitForClosedSessions(1));
    ASSERT_TRUE(eventually([&] { return h.state(player) == 0; }));

    const SimWaveOutRecord record = h.device.record();
    ASSERT_EQ(record.sessions.size(), 1u);
    const auto& session = record.sessions[0];
    const std::vector<std::int16_t> heard = samplesOf(session.heard);
    const ReferencePcm& reference = referenceDecode(file);
    EXPECT_EQ(heard.size(), reference.samples.size());
    EXPECT_LE(maxDifference(heard, reference.samples), 1);
    EXPECT_EQ(session.returnedByReset, 0u);
    EXPECT_EQ(session.calls.back().kind, SimWaveOutCall::Kind::Close);
    h.remove(player);
}

INSTANTIATE_TEST_SUITE_P(TestFiles, PlayedFile,
                         ::testing::Values("cbr.mp3", "vbr_xing.mp3", "mpeg2_22050_mono.mp3", "mpeg25_11025_mono.mp3",
                                           "layer2.mp3", "id3v23_picture.mp3", "id3v24.mp3", "tag_trailer.mp3",
                                           "few_frames.mp3", "layer2_long_frames.mp3", "free_format.mp3"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.resize(name.size() - 4);
                             return name;
                         });

// The damaged files differ from ffmpeg's PCM in ways the pipeline tests explain (a dropped
// incomplete last frame, a garbled frame at the junk); here every block the decoder made
// must be heard.
TEST(PlayerDamagedFiles, AreHeardAsTheDecoderDecodesThemEventDriven) {
    for (const char* name : {"truncated.mp3", "junk_middle.mp3"}) {
        PlayerHarness h;
        PlayerHandle player = h.start({testFile(name)}, 1);
        ASSERT_TRUE(h.waitForClosedSessions(1)) << name;
        const DecodeRun decoded = decodeFile(testFile(name));
        EXPECT_EQ(samplesOf(h.device.record().sessions[0].heard), decoded.samples) << name;
        h.remove(player);
    }
}

TEST(PlayerDevice, OpensWithTheStreamsFormatAndQueuesAtMost112BlocksOf4608Bytes) {
    PlayerHarness h;
    h.device.stallAfter(0); // nothing is played: every block stays queued
    PlayerHandle player = h.start({testFile("long.mp3")}, 1);
    ASSERT_TRUE(h.waitForWritten(112 * kStereoBlockBytes));
    // The 113th block is ready in the ring, but no header is free for it.
    EXPECT_FALSE(h.device.waitFor([](const SimWaveOutRecord& r) { return r.sessions[0].written > 112; }, 50ms));
    h.device.releaseStall();
    ASSERT_TRUE(h.waitForClosedSessions(1));

    const auto session = h.device.record().sessions[0];
    EXPECT_EQ(session.format.channels, 2);
    EXPECT_EQ(session.format.samplesPerSecond, 44100u);
    EXPECT_EQ(session.format.bitsPerSample, 16);
    EXPECT_EQ(session.mostQueued, 112u);
    for (const auto& call : session.calls) {
        if (call.kind == SimWaveOutCall::Kind::Write) {
            EXPECT_EQ(call.bytes, kStereoBlockBytes);
        }
    }
    h.remove(player);
}

TEST(PlayerDevice, WithEveryHeaderQueuedTheNextBlockGoesOutAsSoonAsTheDeviceReturnsOneEventDriven) {
    PlayerHarness h;
    h.device.stallAfter(0);
    PlayerHandle player = h.start({testFile("long.mp3")}, 1);
    ASSERT_TRUE(h.waitForWritten(112 * kStereoBlockBytes));
    h.device.stallAfter(kStereoBlockBytes); // one block comes back, and frees one header
    ASSERT_TRUE(h.waitForWritten(113 * kStereoBlockBytes));
    h.device.releaseStall();
    EXPECT_TRUE(h.heardWholeOf(testFile("long.mp3")));
    h.remove(player);
}

TEST(PlayerDevice, BlocksAreQueuedInPlaceInTheDecodersRingInTheOrderWrittenEventDriven) {
    PlayerHarness h;
    PlayerHandle player = h.start({testFile("long.mp3")}, 1);
    ASSERT_TRUE(h.waitForClosedSessions(1));
    const SimWaveOutRecord record = h.device.record();
    std::vector<const std::uint8_t*> blocks;
    for (const auto& call : record.sessions[0].calls) {
        if (call.kind == SimWaveOutCall::Kind::Write) blocks.push_back(call.data);
    }
    ASSERT_GT(blocks.size(), 2 * 113u);
    // The ring of 113 blocks, walked block after block and round again: no block is copied
    // elsewhere, and none is handed out before the one before it.
    const std::uint8_t* ring = *std::min_element(blocks.begin(), blocks.end());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        ASSERT_EQ(blocks[i], ring + (i % 113) * kStereoBlockBytes) << "block " << i;
    }
    h.remove(player);
}

TEST(PlayerDevice, MonoAt22050PlaysBlocksOf1152BytesEventDriven) {
    PlayerHarness h;
    PlayerHandle player = h.start({testFile("mpeg2_22050_mono.mp3")}, 1);
    ASSERT_TRUE(h.waitForClosedSessions(1));
    const auto session = h.device.record().sessions[0];
    EXPECT_EQ(session.format.channels, 1);
    EXPECT_EQ(session.format.samplesPerSecond, 22050u);
    EXPECT_EQ(session.calls.front().bytes, 1152u);
    h.remove(player);
}

TEST(PlayerDevice, DoneComesOnlyAfterTheDeviceReturnedTheLastBlock) {
    PlayerHarness h;
    ProgressRecorder window;
    const std::size_t total = h.holdLastBlockOf(testFile("cbr.mp3"));
    PlayerHandle player = h.start({testFile("cbr.mp3")}, 1, &window);
    ASSERT_TRUE(h.waitForWritten(total));
    // Everything has been decoded and written; one block is still out.
    EXPECT_FALSE(h.device.waitFor([](const SimWaveOutRecord& r) { return r.sessions[0].closed; }, 50ms));
    EXPECT_EQ(h.state(player), 1);
    EXPECT_TRUE(window.timesOf(100).empty());

    h.device.releaseStall();
    ASSERT_TRUE(h.waitForClosedSessions(1));
    ASSERT_TRUE(eventually([&] { return h.state(player) == 0; }));
    EXPECT_EQ(h.device.record().sessions[0].heard.size(), total);
    ASSERT_TRUE(eventually([&] { return !window.timesOf(100).empty(); }));
    const std::vector<int> values = window.values();
    EXPECT_EQ(values.front(), 0);
    EXPECT_EQ(values.back(), 100);
    h.remove(player);
}

TEST(PlayerDevice, AbsentDeviceGivesSilenceAndThePlayerStaysPlayingUntilRemovedEventDriven) {
    PlayerHarness h(SimWaveOutMode::Absent);
    PlayerHandle player = h.start({testFile("cbr.mp3")}, 1);
    ASSERT_TRUE(h.device.waitFor([](const SimWaveOutRecord& r) { return r.openAttempts == 1; }, 20s));
    EXPECT_EQ(h.state(player), 1);
    h.remove(player);
    EXPECT_EQ(h.device.record().sessions.size(), 0u);
}

} // namespace
} // namespace vostrel::audio::test

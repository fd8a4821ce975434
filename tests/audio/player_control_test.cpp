// The player's operations: states, pause and resume, the file-list walk with its repeat
// count, failures, and removal while sounding.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/audio/player_harness.h"
#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {
namespace {

using platform::sim::SimWaveOutCall;
using platform::sim::SimWaveOutMode;
using platform::sim::SimWaveOutRecord;

std::size_t played(const SimWaveOutRecord& r) { return r.sessions.empty() ? 0 : r.sessions.back().played; }

TEST(PlayerControl, StateIsStoppedPlayingPausedAndStoppedAgainEventDriven) {
    PlayerHarness h;
    EXPECT_EQ(h.state(nullptr), 0);
    h.device.stallAfter(10 * kStereoBlockBytes);
    PlayerHandle player = h.create({testFile("cbr.mp3")}, 1);
    EXPECT_EQ(h.state(player), 0);
    h.newPlay(player);
    EXPECT_EQ(h.state(player), 1);
    h.setPause(player, 1);
    EXPECT_EQ(h.state(player), -1);
    h.setPause(player, 1);
    EXPECT_EQ(h.state(player), -1);
    h.setPause(player, 0);
    EXPECT_EQ(h.state(player), 1);
    h.device.releaseStall();
    ASSERT_TRUE(h.waitForClosedSessions(1));
    ASSERT_TRUE(eventually([&] { return h.state(player) == 0; }));
    h.setPause(player, 1); // a stopped player cannot be paused
    EXPECT_EQ(h.state(player), 0);
    h.remove(player);
}

TEST(PlayerControl, PauseAndResumeContinueWhereTheyStopped) {
    PlayerHarness h;
    const std::string file = testFile("long.mp3");
    h.device.stallAfter(40 * kStereoBlockBytes);
    PlayerHandle player = h.start({file}, 1);
    ASSERT_TRUE(h.device.waitFor([](const SimWaveOutRecord& r) { return played(r) == 40; }, 20s));
    h.setPause(player, 1);
    h.device.releaseStall();
    // Paused: the device plays nothing more.
    EXPECT_FALSE(h.device.waitFor([](const SimWaveOutRecord& r) { return played(r) > 40; }, 50ms));
    h.setPause(player, 0);
    ASSERT_TRUE(h.waitForClosedSessions(1));

    const auto session = h.device.record().sessions[0];
    const std::vector<std::int16_t> heard = samplesOf(session.heard);
    const ReferencePcm& reference = referenceDecode(file);
    ASSERT_EQ(heard.size(), reference.samples.size()) << "nothing lost or repeated at the pause";
    EXPECT_LE(maxDifference(heard, reference.samples), 1);
    const auto has = [&](SimWaveOutCall::Kind kind) {
        return std::any_of(session.calls.begin(), session.calls.end(), [&](const auto& c) { return c.kind == kind; });
    };
    EXPECT_TRUE(has(SimWaveOutCall::Kind::Pause));
    EXPECT_TRUE(has(SimWaveOutCall::Kind::Restart));
    h.remove(player);
}

TEST(PlayerControl, NewPlayOnAPausedPlayerResumesTheSameFileEventDriven) {
    PlayerHarness h;
    h.device.stallAfter(20 * kStereoBlockBytes);
    PlayerHandle player = h.start({testFile("long.mp3")}, 1);
    ASSERT_TRUE(h.device.waitFor([](const SimWaveOutRecord& r) { return played(r) == 20; }, 20s));
    h.setPause(player, 1);
    h.device.releaseStall();
    h.newPlay(player);
    EXPECT_EQ(h.state(player), 1);
    ASSERT_TRUE(h.waitForClosedSessions(1));
    const auto record = h.device.record();
    EXPECT_EQ(record.sessions.size(), 1u);
    EXPECT_EQ(samplesOf(record.sessions[0].heard).size(), referenceDecode(testFile("long.mp3")).samples.size());
    h.remove(player);
}

TEST(PlayerControl, TwoFilesWithCountTwoPlayFirstSecondFirstSecond) {
    PlayerHarness h;
    PlayerHandle player = h.create({testFile("mpeg2_22050_mono.mp3"), testFile("cbr.mp3")}, 2);
    h.play(player);
    ASSERT_TRUE(h.waitForClosedSessions(4));
    ASSERT_TRUE(eventually([&] { return h.state(player) == 0; }));
    EXPECT_FALSE(h.device.waitFor([](const SimWaveOutRecord& r) { return r.sessions.size() > 4; }, 100ms));
    const auto record = h.device.record();
    ASSERT_EQ(record.sessions.size(), 4u);
    const std::size_t mono = referencePcmBytes(testFile("mpeg2_22050_mono.mp3"));
    const std::size_t stereo = referencePcmBytes(testFile("cbr.mp3"));
    for (std::size_t i = 0; i < 4; ++i) {
        const bool first = i % 2 == 0;
        EXPECT_EQ(record.sessions[i].format.samplesPerSecond, first ? 22050u : 44100u) << "session " << i;
        EXPECT_EQ(record.sessions[i].heard.size(), first ? mono : stereo) << "session " << i;
    }
    h.remove(player);
}

TEST(PlayerControl, CountZeroRepeatsUntilRemoved) {
    PlayerHarness h;
    PlayerHandle player = h.start({testFile("few_frames.mp3")}, 0);
    ASSERT_TRUE(h.waitForClosedSessions(5));
    h.remove(player);
    const auto after = h.device.record();
    EXPECT_EQ(after.openDevices, 0u);
    EXPECT_FALSE(
        h.device.waitFor([&](const SimWaveOutRecord& r) { return r.sessions.size() > after.sessions.size(); }, 50ms));
}

TEST(PlayerControl, NegativeCountRepeatsLikeZeroEventDriven) {
    PlayerHarness h;
    PlayerHandle player = h.start({testFile("few_frames.mp3")}, -5);
    ASSERT_TRUE(h.waitForClosedSessions(3));
    h.remove(player);
}

TEST(PlayerControl, AFileThatAlwaysFailsIsRetriedAtMostEvery100Ms) {
    PlayerHarness h;
    ProgressRecorder window;
    // The file opens but holds no audio stream: every attempt ends in StageError, and the
    // window (kept, as the open succeeded) is told that the file has ended.
    PlayerHandle player = h.start({testFile("not_mp3.mp3")}, 0, &window);
    ASSERT_TRUE(eventually([&] { return window.timesOf(100).size() >= 5; }, 10s));
    h.remove(player);
    const auto times = window.timesOf(100);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], std::chrono::milliseconds(100)) << "retry " << i;
    }
    EXPECT_EQ(h.device.record().openAttempts, 0u);
}

TEST(PlayerControl, AMissingFileRepeatedForeverStillLetsThePlayerGoEventDriven) {
    PlayerHarness h;
    PlayerHandle player = h.start({testFile("no_such_file.mp3")}, 0);
    EXPECT_EQ(h.state(player), 0);
    h.remove(player);
    EXPECT_EQ(h.device.record().openAttempts, 0u);
}

TEST(PlayerControl, MissingFileIsSilentAndTheNextPlayerWorksEventDriven) {
    PlayerHarness h;
    PlayerHandle missing = h.start({testFile("no_such_file.mp3")}, 1);
    ASSERT_TRUE(eventually([&] { return h.state(missing) == 0; }));
    h.remove(missing);
    EXPECT_EQ(h.device.record().openAttempts, 0u);

    PlayerHandle player = h.start({testFile("cbr.mp3")}, 1);
    EXPECT_TRUE(h.heardWholeOf(testFile("cbr.mp3")));
    h.remove(player);
}

TEST(PlayerControl, TooLongPassPhraseOrEmptyListStartsNothingEventDriven) {
    PlayerHarness h;
    PlayerHandle player = h.create({testFile("cbr.mp3")}, 1);
    const std::string phrase(512, 'x');
    h.newPlay(player, nullptr, phrase.c_str());
    EXPECT_EQ(h.state(player), 0);
    h.remove(player);

    PlayerHandle empty = h.create({}, 1);
    ASSERT_NE(empty, nullptr);
    h.play(empty);
    EXPECT_EQ(h.state(empty), 0);
    h.remove(empty);
    EXPECT_EQ(h.device.record().openAttempts, 0u);
}

TEST(PlayerControl, PausedWhileTheLastBlockIsStillAtTheDeviceTheFileEndsAfterResumeEventDriven) {
    PlayerHarness h;
    const std::size_t total = h.holdLastBlockOf(testFile("cbr.mp3"));
    PlayerHandle player = h.start({testFile("cbr.mp3")}, 1);
    ASSERT_TRUE(h.waitForWritten(total));
    h.setPause(player, 1);
    h.device.releaseStall();
    EXPECT_EQ(h.state(player), -1);
    h.setPause(player, 0);
    ASSERT_TRUE(h.waitForClosedSessions(1));
    ASSERT_TRUE(eventually([&] { return h.state(player) == 0; }));
    const auto record = h.device.record();
    EXPECT_EQ(record.sessions.size(), 1u);
    EXPECT_EQ(record.sessions[0].heard.size(), total);
    EXPECT_EQ(record.sessions[0].returnedByReset, 0u);
    h.remove(player);
}

TEST(PlayerControl, RemoveWhileTheLastBlockIsStillAtTheDeviceEndsEveryThreadEventDriven) {
    const std::size_t threadsBefore = threadCount();
    PlayerHarness h;
    const std::size_t total = h.holdLastBlockOf(testFile("cbr.mp3"));
    PlayerHandle player = h.start({testFile("cbr.mp3")}, 1);
    ASSERT_TRUE(h.waitForWritten(total));
    ASSERT_TRUE(h.device.waitFor(
        [&](const SimWaveOutRecord& r) {
            return r.sessions[0].played * kStereoBlockBytes == total - kStereoBlockBytes;
        },
        20s));
    h.remove(player);

    const auto record = h.device.record();
    EXPECT_EQ(record.openDevices, 0u);
    EXPECT_TRUE(record.sessions[0].closed);
    EXPECT_EQ(record.sessions[0].returnedByReset, 1u);
    EXPECT_EQ(record.sessions[0].heard.size(), total - kStereoBlockBytes);
    EXPECT_EQ(threadCount(), threadsBefore);
}

TEST(PlayerControl, RemoveWhileSoundingResetsAndClosesTheDeviceAndEndsEveryThread) {
    const std::size_t threadsBefore = threadCount();
    PlayerHarness h(SimWaveOutMode::RealTime);
    PlayerHandle player = h.start({testFile("long.mp3")}, 1);
    ASSERT_TRUE(h.device.waitFor([](const SimWaveOutRecord& r) { return played(r) >= 2; }, 20s));
    h.remove(player);

    const auto record = h.device.record();
    EXPECT_EQ(record.openDevices, 0u);
    const auto& session = record.sessions[0];
    EXPECT_TRUE(session.closed);
    EXPECT_GT(session.returnedByReset, 0u) << "queued blocks were still at the device";
    EXPECT_EQ(session.queued(), 0u);
    const auto reset = std::find_if(session.calls.begin(), session.calls.end(),
                                    [](const auto& c) { return c.kind == SimWaveOutCall::Kind::Reset; });
    ASSERT_NE(reset, session.calls.end());
    EXPECT_EQ(session.calls.back().kind, SimWaveOutCall::Kind::Close);
    EXPECT_LT(session.heard.size(), referencePcmBytes(testFile("long.mp3")));
    EXPECT_EQ(threadCount(), threadsBefore);
}

} // namespace
} // namespace vostrel::audio::test

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "audio/play_command.h"
#include "tests/audio/recording_player.h"

namespace vostrel::audio {
namespace {

using test::PlayerCall;
using Kind = PlayerCall::Kind;
using Names = std::vector<std::string>;

class PlayCommandTest : public ::testing::Test {
protected:
    PlayCommandTest() { recorder.installInto(table); }

    // Starts a prompt and forgets the calls that made it, so a test sees only its own call.
    PlayerHandle somethingSounding() {
        slot.PlayMp3(1, {"/p/Vostrel/1speak.mp3"});
        const PlayerHandle sounding = slot.CurrentPlayer();
        recorder.clear();
        return sounding;
    }

    PlayerEntryTable table;
    test::RecordingPlayer recorder;
    PlaySlot slot{table};
};

TEST_F(PlayCommandTest, PlaysOneFileOnceAndKeepsThePlayerInTheSlot) {
    slot.PlayMp3(1, {"/p/Vostrel/6speak.mp3"});
    const auto& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::Create);
    EXPECT_EQ(calls[0].files, Names{"/p/Vostrel/6speak.mp3"});
    EXPECT_EQ(calls[0].repeatCount, 1);
    EXPECT_EQ(calls[1].kind, Kind::NewPlay);
    EXPECT_EQ(calls[1].player, calls[0].player);
    EXPECT_EQ(slot.CurrentPlayer(), calls[0].player);
    EXPECT_EQ(recorder.unexpectedCalls(), 0);
}

TEST_F(PlayCommandTest, ANewPlayRemovesThePreviousPlayerFirst) {
    const PlayerHandle previous = somethingSounding();
    slot.PlayMp3(1, {"/p/Vostrel/2speak.mp3"});
    const auto& calls = recorder.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, Kind::Remove);
    EXPECT_EQ(calls[0].player, previous);
    EXPECT_EQ(calls[1].kind, Kind::Create);
    EXPECT_EQ(calls[1].files, Names{"/p/Vostrel/2speak.mp3"});
    EXPECT_EQ(recorder.livePlayers(), 1);
}

struct CountCase {
    std::optional<std::int32_t> count;
    std::optional<std::int32_t> repeatCount; // none: nothing may be created
};

class PlayCountTest : public PlayCommandTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(PlayCountTest, NormalisesTheCountAfterStoppingThePreviousPrompt) {
    const PlayerHandle previous = somethingSounding();
    slot.PlayMp3(GetParam().count, {"/p/a.mp3"});
    const auto removes = recorder.callsOf(Kind::Remove);
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].player, previous);
    const auto creates = recorder.callsOf(Kind::Create);
    if (!GetParam().repeatCount) {
        EXPECT_TRUE(creates.empty());
        EXPECT_TRUE(recorder.callsOf(Kind::NewPlay).empty());
        EXPECT_EQ(slot.CurrentPlayer(), nullptr);
        return;
    }
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].repeatCount, *GetParam().repeatCount);
    EXPECT_EQ(recorder.callsOf(Kind::NewPlay).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Counts, PlayCountTest,
                         ::testing::Values(CountCase{std::nullopt, 1}, CountCase{1, 1}, CountCase{2, 2},
                                           CountCase{INT32_MAX, INT32_MAX}, CountCase{0, std::nullopt},
                                           CountCase{-1, 0}, CountCase{-5, 0}, CountCase{INT32_MIN, 0}));

TEST_F(PlayCommandTest, TwoNamesWithCountTwoMakeOneListPlayedTwice) {
    slot.PlayMp3(2, {"/p/first.mp3", "/p/second.mp3"});
    const auto creates = recorder.callsOf(Kind::Create);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].files, (Names{"/p/first.mp3", "/p/second.mp3"}));
    EXPECT_EQ(creates[0].repeatCount, 2);
}

TEST_F(PlayCommandTest, AnEmptyNameStopsTheSoundAndCreatesNothing) {
    somethingSounding();
    slot.PlayMp3(1, {""});
    EXPECT_EQ(recorder.callsOf(Kind::Remove).size(), 1u);
    EXPECT_TRUE(recorder.callsOf(Kind::Create).empty());
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    EXPECT_EQ(recorder.livePlayers(), 0);
}

TEST_F(PlayCommandTest, BuildsTheListFromTextsAndArraysInArgumentOrder) {
    const char* const array[] = {"/p/b.mp3", nullptr, "", "/p/c.mp3"};
    const char* const onlyEmpty[] = {nullptr, ""};
    slot.PlayMp3(std::nullopt, {"/p/a.mp3", std::span<const char* const>(array), "",
                                std::span<const char* const>(onlyEmpty), "/p/d.mp3"});
    const auto creates = recorder.callsOf(Kind::Create);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].files, (Names{"/p/a.mp3", "/p/b.mp3", "/p/c.mp3", "/p/d.mp3"}));
    EXPECT_EQ(creates[0].repeatCount, 1);
}

TEST_F(PlayCommandTest, ArraysOfOnlyEmptyNamesOrNoArgumentsCreateNothing) {
    const char* const nothing[] = {nullptr, "", nullptr};
    slot.PlayMp3(1, {std::span<const char* const>(nothing)});
    slot.PlayMp3(1, {});
    EXPECT_TRUE(recorder.calls().empty());
}

TEST_F(PlayCommandTest, ANameEndsAtAnEmbeddedNul) {
    using namespace std::string_view_literals;
    slot.PlayMp3(1, {"/p/a.mp3\0/p/hidden.mp3"sv, "\0/p/invisible.mp3"sv});
    const auto creates = recorder.callsOf(Kind::Create);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].files, Names{"/p/a.mp3"});
}

TEST_F(PlayCommandTest, TheListIsTheCommandsOwnCopy) {
    std::string name = "/p/Vostrel/3speak.mp3";
    const char* seen = nullptr;
    table.put("CreatePlayer", CreatePlayerOp{[&](const char* list, std::int32_t) -> PlayerHandle {
                  seen = list;
                  return nullptr;
              }});
    slot.PlayMp3(1, {name});
    EXPECT_NE(seen, name.data());
}

TEST_F(PlayCommandTest, AFailedCreateLeavesTheSlotEmptyAndStartsNothing) {
    somethingSounding();
    recorder.failCreates(true);
    slot.PlayMp3(1, {"/p/a.mp3"});
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    EXPECT_TRUE(recorder.callsOf(Kind::NewPlay).empty());
    recorder.failCreates(false);
    slot.PlayMp3(1, {"/p/b.mp3"}); // the next call behaves normally
    EXPECT_NE(slot.CurrentPlayer(), nullptr);
    EXPECT_EQ(recorder.callsOf(Kind::NewPlay).size(), 1u);
}

TEST_F(PlayCommandTest, StopPlaybackEmptiesTheSlotOnceAndThenDoesNothing) {
    const PlayerHandle sounding = somethingSounding();
    slot.StopPlayback();
    slot.StopPlayback();
    const auto removes = recorder.callsOf(Kind::Remove);
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].player, sounding);
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    EXPECT_EQ(recorder.livePlayers(), 0);
}

TEST_F(PlayCommandTest, DestroyingTheSlotLeavesThePlayerToTheEndPath) {
    {
        PlaySlot local{table};
        local.PlayMp3(1, {"/p/a.mp3"});
    }
    EXPECT_TRUE(recorder.callsOf(Kind::Remove).empty());
    EXPECT_EQ(recorder.livePlayers(), 1);
}

TEST(PlayCommandWithoutModule, EveryRequestIsSkippedSilently) {
    PlayerEntryTable empty;
    PlaySlot slot{empty};
    slot.PlayMp3(1, {"/p/a.mp3"});
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    slot.StopPlayback();
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
}

TEST(PlayCommandWithPartialModule, AMissingOperationSkipsOnlyItsStep) {
    PlayerEntryTable table;
    test::RecordingPlayer recorder;
    recorder.installInto(table);
    PlayerEntryTable createOnly;
    createOnly.put("CreatePlayer", *table.find<CreatePlayerOp>("CreatePlayer"));
    PlaySlot slot{createOnly};
    slot.PlayMp3(1, {"/p/a.mp3"});
    ASSERT_NE(slot.CurrentPlayer(), nullptr); // created but never started: no NewPlay in the table
    EXPECT_TRUE(recorder.callsOf(Kind::NewPlay).empty());
    slot.PlayMp3(1, {"/p/b.mp3"}); // no RemovePlayer: the slot is still emptied before the create
    EXPECT_EQ(recorder.callsOf(Kind::Create).size(), 2u);
    EXPECT_TRUE(recorder.callsOf(Kind::Remove).empty());
}

TEST(PlayCommandWithPartialModule, NamesMatchExactlyAndByKind) {
    PlayerEntryTable table;
    int creates = 0;
    table.put("createplayer",
              CreatePlayerOp{[&](const char*, std::int32_t) -> PlayerHandle { return ++creates, nullptr; }});
    table.put("CreatePlayer", PlayOp{[&](PlayerHandle) { ++creates; }}); // right name, wrong operation
    PlaySlot slot{table};
    slot.PlayMp3(1, {"/p/a.mp3"});
    EXPECT_EQ(creates, 0);
}

} // namespace
} // namespace vostrel::audio

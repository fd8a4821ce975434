// No prompt skipped, doubled or cut off when the wall clock steps, the computer sleeps, or prompts
// meet: each situation played through in virtual time, with exactly the prompts heard and the
// lines the record gets. Times here are the wall clock's, counted from midnight of day 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/calendar.h"
#include "tests/schedule/schedule_scenario.h"

namespace vostrel::test {
namespace {

using schedule::Subject;

class MissedMinute : public ScheduleScenario {
protected:
    MissedMinute() {
        recorder.setClock([this] { return wallMs(); });
        save(Subject::Chinese, "09", "00", "11", "30");
        sim.tick("语文");
    }
    std::int64_t wallMs() {
        const platform::LocalDateTime t = sim.localTime();
        return (schedule::momentOf(t) - schedule::midnightOf({2026, 12, 8})) * 1000 + t.millisecond;
    }
    // Lets time pass until the wall clock reads the moment.
    void runUntilWall(std::int64_t momentMs) {
        ASSERT_GE(momentMs, wallMs());
        sim.advance(static_cast<std::uint64_t>(momentMs - wallMs()));
    }
    // The wall clock jumps (a time server's correction, a sleeping computer waking up): no
    // virtual time passes and no timer ticks meanwhile.
    void stepWallClock(std::int64_t seconds) {
        platform::LocalDateTime t = sim.localTime();
        const int ms = t.millisecond;
        t = schedule::localTimeAt(schedule::momentOf(t) + seconds);
        t.millisecond = ms;
        sim.setLocalTime(t);
    }
    std::vector<int> rowsPlayed() {
        std::vector<int> rows;
        for (const PlayedPrompt& p : prompts()) rows.push_back(p.row);
        return rows;
    }
};

TEST_F(MissedMinute, AClockStepOf90sAcrossAPromptPlaysItLateOnce) {
    clickStartPauseAt(at(0, 8, 30));
    runUntilWall(at(0, 8, 34, 50));
    stepWallClock(90);
    runUntilWall(at(0, 8, 38));
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_GE(prompts()[0].atMs, at(0, 8, 36, 20));
    EXPECT_LT(prompts()[0].atMs, at(0, 8, 36, 21));
    const auto began = record.withEvent("开始播放");
    ASSERT_EQ(began.size(), 1u);
    EXPECT_NE(began[0].find("计划 08:35"), std::string::npos) << began[0];
    EXPECT_NE(began[0].find("晚了1分20秒"), std::string::npos) << began[0];
    runUntilWall(at(0, 8, 41));
    EXPECT_EQ(rowsAndMinutes(prompts()),
              (std::vector<std::pair<int, std::int64_t>>{{1, 8 * 60 + 36}, {2, 8 * 60 + 40}}))
        << "the late prompt's hold-off leaves the next its own minute";
}

TEST_F(MissedMinute, ASleepOfThreeMinutesAcrossAPromptMissesItAndSaysSo) {
    clickStartPauseAt(at(0, 8, 30));
    runUntilWall(at(0, 8, 34, 30));
    stepWallClock(180);
    runUntilWall(at(0, 8, 41));
    EXPECT_EQ(rowsPlayed(), (std::vector<int>{2}));
    const auto missed = record.withEvent("错过");
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_NE(missed[0].find("第1条 开考前25分钟"), std::string::npos) << missed[0];
    EXPECT_NE(missed[0].find("晚了2分30秒"), std::string::npos) << missed[0];
    ASSERT_TRUE(state.last);
    EXPECT_EQ(state.last->prompt.row, 2) << "the next prompt played well";
}

TEST_F(MissedMinute, ASleepOfTenMinutesAcrossTwoPromptsPlaysOnlyTheLatestInTime) {
    clickStartPauseAt(at(0, 8, 30));
    runUntilWall(at(0, 8, 31));
    stepWallClock(600); // wakes at 08:41: 08:35 is six minutes past, 08:40 one
    runUntilWall(at(0, 8, 44));
    EXPECT_EQ(rowsPlayed(), (std::vector<int>{2}));
    ASSERT_EQ(record.withEvent("错过").size(), 1u);
    EXPECT_NE(record.withEvent("错过")[0].find("第1条"), std::string::npos);
    EXPECT_NE(record.withEvent("开始播放")[0].find("晚了1分"), std::string::npos);
}

TEST_F(MissedMinute, AClockStepBackAfterAPromptDoesNotPlayItAgain) {
    clickStartPauseAt(at(0, 8, 30));
    runUntilWall(at(0, 8, 35, 30));
    ASSERT_EQ(rowsPlayed(), (std::vector<int>{1}));
    stepWallClock(-300); // back to 08:30:30
    runUntilWall(at(0, 8, 41));
    EXPECT_EQ(rowsPlayed(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(record.withEvent("错过").empty());
}

TEST_F(MissedMinute, AStartAfterAPromptsMinuteIsNoSkippedMinute) {
    clickStartPauseAt(at(0, 8, 37)); // 08:35 had passed: nothing before 08:40, nothing missed
    runUntilWall(at(0, 8, 41));
    EXPECT_EQ(rowsPlayed(), (std::vector<int>{2}));
    EXPECT_TRUE(record.withEvent("错过").empty());
}

// A prompt due while another still sounds waits until that one has ended, then plays.
TEST_F(MissedMinute, APromptDueDuringAnotherWaitsForItsEnd) {
    recorder.setPromptLength(30000);
    save(Subject::English, "11", "56", "13", "56"); // its first prompt at 11:31
    sim.tick("英语");
    clickStartPauseAt(at(0, 11, 30, 45)); // 语文's 11:30 prompt sounds until 11:31:15
    runUntilWall(at(0, 11, 33));
    const auto played = prompts();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].row, 8);
    EXPECT_EQ(played[1].row, 1);
    EXPECT_GE(played[1].atMs, played[0].atMs + 30000) << "not cut off";
    EXPECT_LT(played[1].atMs, played[0].atMs + 30000 + schedule::kPollIntervalMs);
    for (const std::string& ended : record.withEvent("播放结束")) EXPECT_TRUE(ended.ends_with("已播放")) << ended;
}

// An exam from 22:30 to 01:00: the end prompts sound at 00:45 and 01:00 of the next day.
TEST_F(MissedMinute, AnExamEndingAfterMidnightSoundsItsEndPromptsTheNextDay) {
    save(Subject::Chinese, "22", "30", "25", "00");
    clickStartPauseAt(at(0, 22, 0));
    runUntilWall(at(1, 1, 5));
    EXPECT_EQ(rowsAndMinutes(prompts()), (std::vector<std::pair<int, std::int64_t>>{{1, 22 * 60 + 5},
                                                                                    {2, 22 * 60 + 10},
                                                                                    {3, 22 * 60 + 15},
                                                                                    {4, 22 * 60 + 22},
                                                                                    {5, 22 * 60 + 25},
                                                                                    {6, 22 * 60 + 30},
                                                                                    {7, 24 * 60 + 45},
                                                                                    {8, 25 * 60}}));
    const auto began = record.withEvent("开始播放");
    ASSERT_EQ(began.size(), 8u);
    EXPECT_TRUE(began[7].starts_with("2026-12-09 01:00:00")) << began[7];
    EXPECT_NE(began[7].find("2026-12-08 22:30开考"), std::string::npos) << began[7];
}

} // namespace
} // namespace vostrel::test

// The poll step played through whole days on the simulated window, with the recording player
// standing in for the sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "schedule/prompt_table.h"
#include "tests/schedule/schedule_scenario.h"

namespace vostrel::test {
namespace {

using schedule::Subject;
using Kind = PlayerCall::Kind;

std::int32_t holdOffOf(int row) { return schedule::kPromptTable.at(static_cast<std::size_t>(row - 1)).holdOffMs; }

struct WorkedExample {
    std::string name;
    Subject subject;
    std::string startHour, startMinute, endHour, endMinute;
    std::vector<std::pair<int, int>> rowAtMinute; // row, minute of the day
};

class WorkedExampleTest : public ScheduleScenario, public ::testing::WithParamInterface<WorkedExample> {};

// Started at midnight and run for the whole day: every prompt sounds in the first poll of its
// minute and at no other time, and its hold-off is the row's. An exam ending after midnight
// sounds its end prompts in the next day's minutes.
TEST_P(WorkedExampleTest, EveryPromptAtItsMinuteAndNoOther) {
    const WorkedExample& ex = GetParam();
    save(ex.subject, ex.startHour, ex.startMinute, ex.endHour, ex.endMinute);
    ASSERT_TRUE(sim.tick(schedule::controlsOf(ex.subject).checkBox));
    ASSERT_TRUE(clickStartPause());
    // Through the day, and into the next as far as its last prompt and hold-off, which an exam that
    // ends after midnight sounds then.
    runUntil(std::max(at(1, 0, 0) - 1, at(0, 0, ex.rowAtMinute.back().second + 5)));

    const std::vector<PlayedPrompt> played = prompts();
    ASSERT_EQ(played.size(), ex.rowAtMinute.size());
    ASSERT_EQ(holdOffEnds.size(), played.size());
    for (std::size_t i = 0; i < played.size(); ++i) {
        SCOPED_TRACE(::testing::PrintToString(played[i]));
        const auto [row, minute] = ex.rowAtMinute[i];
        EXPECT_EQ(played[i].row, row);
        EXPECT_GE(played[i].atMs, at(0, 0, minute));
        EXPECT_LT(played[i].atMs, at(0, 0, minute) + schedule::kPollIntervalMs);
        EXPECT_EQ(holdOffEnds[i].subject, ex.subject);
        EXPECT_EQ(holdOffEnds[i].atMs, played[i].atMs + holdOffOf(row));
    }
    EXPECT_EQ(recorder.unexpectedCalls(), 0);
}

constexpr int hm(int h, int m) { return h * 60 + m; }

// Laid out by hand: one worked example a few lines, its prompt times together.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedExampleTest,
    ::testing::Values(
        WorkedExample{"ChineseAtNine", Subject::Chinese, "09", "00", "11", "30",
                      {{1, hm(8, 35)}, {2, hm(8, 40)}, {3, hm(8, 45)}, {4, hm(8, 52)}, {5, hm(8, 55)}, {6, hm(9, 0)},
                       {7, hm(11, 15)}, {8, hm(11, 30)}}},
        WorkedExample{"MathsAtFifteen", Subject::Maths, "15", "00", "17", "0",
                      {{1, hm(14, 35)}, {2, hm(14, 40)}, {3, hm(14, 45)}, {4, hm(14, 52)}, {5, hm(14, 55)}, {6, hm(15, 0)},
                       {7, hm(16, 45)}, {8, hm(17, 0)}}},
        WorkedExample{"StartTenPastMidnightNeverWraps", Subject::Combined, "00", "10", "02", "40",
                      {{4, hm(0, 2)}, {5, hm(0, 5)}, {6, hm(0, 10)}, {7, hm(2, 25)}, {8, hm(2, 40)}}},
        // Running since midnight, it also ends the exam that began at 22:30 the evening before.
        WorkedExample{"ChineseAtHalfPastTenPmEndsPastMidnight", Subject::Chinese, "22", "30", "25", "00",
                      {{7, hm(0, 45)}, {8, hm(1, 0)}, {1, hm(22, 5)}, {2, hm(22, 10)}, {3, hm(22, 15)}, {4, hm(22, 22)}, {5, hm(22, 25)}, {6, hm(22, 30)},
                       {7, hm(24, 45)}, {8, hm(25, 0)}}},
        WorkedExample{"LenientTexts", Subject::English, " 8", "３０", "1０a", "30　",
                      {{1, hm(8, 5)}, {2, hm(8, 10)}, {3, hm(8, 15)}, {4, hm(8, 22)}, {5, hm(8, 25)}, {6, hm(8, 30)},
                       {7, hm(10, 15)}, {8, hm(10, 30)}}}),
    [](const ::testing::TestParamInfo<WorkedExample>& info) { return info.param.name; });
// clang-format on

// Each prompt's file and hold-off written out rather than read back from the prompt table, so a
// slip in the table cannot hide behind tests that compare the table with itself. The path is
// the program directory followed directly by the row's file.
TEST_F(ScheduleScenario, EveryRowPlaysItsOwnFileAndHoldsOffForItsOwnTime) {
    struct Expected {
        std::string path;
        int minute;
        std::int64_t holdOffMs;
    };
    const std::vector<Expected> expected{
        {"D:\\Tools/Vostrel/1speak.mp3", hm(8, 35), 283000}, {"D:\\Tools/Vostrel/2speak.mp3", hm(8, 40), 159000},
        {"D:\\Tools/Vostrel/3speak.mp3", hm(8, 45), 205000}, {"D:\\Tools/Vostrel/4speak.mp3", hm(8, 52), 61000},
        {"D:\\Tools/Vostrel/5speak.mp3", hm(8, 55), 84000},  {"D:\\Tools/Vostrel/6speak.mp3", hm(9, 0), 61000},
        {"D:\\Tools/Vostrel/7speak.mp3", hm(11, 15), 61000}, {"D:\\Tools/Vostrel/8speak.mp3", hm(11, 30), 274000},
    };
    save(Subject::Chinese, "09", "00", "11", "30");
    sim.tick("语文");
    clickStartPauseAt(at(0, 8, 30));
    runUntil(at(0, 11, 40));

    const auto creates = recorder.callsOf(Kind::Create);
    ASSERT_EQ(creates.size(), expected.size());
    ASSERT_EQ(holdOffEnds.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("prompt " + std::to_string(i + 1));
        EXPECT_EQ(creates[i].files, std::vector<std::string>{expected[i].path});
        EXPECT_EQ(creates[i].atMs / 60000, expected[i].minute);
        EXPECT_EQ(holdOffEnds[i].atMs - creates[i].atMs, expected[i].holdOffMs);
    }
}

// Without any saved times a row has no exam: nothing ever sounds, at midnight neither. (Starting
// refuses in that state; the polling is armed here directly.)
TEST_F(ScheduleScenario, EmptyTextsNeverSound) {
    sim.tick("语文");
    sim.window().setInterval("语文时钟", schedule::kPollIntervalMs);
    runUntil(at(1, 0, 5));
    EXPECT_TRUE(recorder.calls().empty());
    EXPECT_TRUE(record.lines.empty());
}

TEST_F(ScheduleScenario, StartAtEightFiftyTwoFiftyFiresRowFourAtTheFirstPollOnce) {
    save(Subject::Chinese, "09", "00", "11", "30");
    sim.tick("语文");
    clickStartPauseAt(at(0, 8, 52, 50));
    runUntil(at(0, 9, 1));
    const auto played = prompts();
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0], (PlayedPrompt{4, at(0, 8, 52, 50, 600)}));
    EXPECT_EQ(rowsAndMinutes(played),
              (std::vector<std::pair<int, std::int64_t>>{{4, hm(8, 52)}, {5, hm(8, 55)}, {6, hm(9, 0)}}));
    ASSERT_FALSE(holdOffEnds.empty());
    EXPECT_EQ(holdOffEnds[0].atMs, at(0, 8, 53, 51, 600));
}

// Two subjects with one start are due in the same minute: both are heard, in the rows' order,
// the second once the first has ended; each subject holds off on its own.
TEST_F(ScheduleScenario, TwoSubjectsDueInOneMinuteAreBothHeardInRowOrder) {
    recorder.setPromptLength(20000);
    save(Subject::Chinese, "09", "00", "11", "30");
    save(Subject::English, "09", "00", "11", "00");
    sim.tick("语文");
    sim.tick("英语");
    clickStartPauseAt(at(0, 8, 30, 0, 100));
    runUntil(at(0, 8, 36));

    const auto creates = recorder.callsOf(Kind::Create);
    ASSERT_EQ(creates.size(), 2u);
    EXPECT_EQ(creates[0].files, creates[1].files);
    EXPECT_LT(creates[0].atMs, at(0, 8, 35, 1));
    EXPECT_GE(creates[1].atMs - creates[0].atMs, 20000) << "英语 waits until 语文 has been heard";
    EXPECT_LT(creates[1].atMs - creates[0].atMs, 20000 + schedule::kPollIntervalMs);
    EXPECT_EQ(interval("语文时钟1"), holdOffOf(1));
    EXPECT_EQ(interval("英语时钟1"), holdOffOf(1));
    const auto began = record.withEvent("开始播放");
    ASSERT_EQ(began.size(), 2u);
    EXPECT_NE(began[0].find(" | 语文 | "), std::string::npos) << began[0];
    EXPECT_NE(began[1].find(" | 英语 | "), std::string::npos) << began[1];
    for (const std::string& ended : record.withEvent("播放结束")) EXPECT_TRUE(ended.ends_with("已播放")) << ended;

    runUntil(at(0, 11, 31));
    EXPECT_EQ(prompts().size(), 16u) << "both subjects sound every prompt of the day";
    EXPECT_TRUE(record.withEvent("错过").empty());
}

// Unticking a polling subject silences it without stopping its timer or reading the clock;
// ticking it again within a prompt minute fires the prompt at the next poll.
TEST_F(ScheduleScenario, UntickingSilencesAndReTickingResumesWithoutANewStart) {
    save(Subject::Chinese, "09", "00", "11", "30");
    sim.tick("语文");
    clickStartPauseAt(at(0, 8, 30));
    runUntil(at(0, 8, 34));
    sim.tick("语文", false);
    const int readsWhileUnticked = clock.reads();
    runUntil(at(0, 8, 35, 30));
    EXPECT_EQ(clock.reads(), readsWhileUnticked);
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(interval("语文时钟"), schedule::kPollIntervalMs);
    EXPECT_EQ(interval("语文时钟1"), 0);

    sim.tick("语文");
    runUntil(at(0, 8, 36));
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_EQ(prompts()[0].row, 1);
    EXPECT_GE(prompts()[0].atMs, at(0, 8, 35, 30));
    EXPECT_LE(prompts()[0].atMs, at(0, 8, 35, 30, schedule::kPollIntervalMs));
}

// A row fired in the last second of its minute still leaves the next row its own minute: the
// hold-off always ends before that minute is over.
class LastSecondTest : public ScheduleScenario, public ::testing::WithParamInterface<int> {};

TEST_P(LastSecondTest, TheNextRowStillFiresInItsMinute) {
    const int row = GetParam();
    save(Subject::Chinese, "09", "00", "11", "30");
    const auto rows = expectedRowMinutes(hm(9, 0), hm(11, 30));
    const int minute = rows[static_cast<std::size_t>(row - 1)].second;
    const int nextMinute = rows[static_cast<std::size_t>(row)].second;
    sim.tick("语文");
    clickStartPauseAt(at(0, 0, minute, 59));
    runUntil(at(0, 0, nextMinute + 1));

    const auto played = prompts();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0], (PlayedPrompt{row, at(0, 0, minute, 59, 600)}));
    EXPECT_EQ(played[1].row, row + 1);
    EXPECT_GE(played[1].atMs, at(0, 0, nextMinute));
    EXPECT_LT(played[1].atMs, at(0, 0, nextMinute + 1));
}

INSTANTIATE_TEST_SUITE_P(Rows, LastSecondTest, ::testing::Range(1, 8));

// A save while running takes effect at the very next poll, without a new start.
TEST_F(ScheduleScenario, ANewSaveCountsFromTheNextPoll) {
    save(Subject::Chinese, "09", "00", "11", "30");
    sim.tick("语文");
    clickStartPauseAt(at(0, 9, 30));
    runUntil(at(0, 10, 0, 10));
    EXPECT_TRUE(prompts().empty());
    save(Subject::Chinese, "10", "08", "12", "38"); // row 4's moment is now 10:00
    runUntil(at(0, 10, 9));
    EXPECT_EQ(rowsAndMinutes(prompts()),
              (std::vector<std::pair<int, std::int64_t>>{{4, hm(10, 0)}, {5, hm(10, 3)}, {6, hm(10, 8)}}));
    EXPECT_LT(prompts()[0].atMs, at(0, 10, 0, 10, schedule::kPollIntervalMs));
}

} // namespace
} // namespace vostrel::test

// Three exam days in a row with all four subjects ticked and the run never paused.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "schedule/prompt_table.h"
#include "tests/schedule/schedule_scenario.h"

namespace vostrel::test {
namespace {

using schedule::Subject;

struct SubjectDay {
    Subject subject;
    int start, end; // minutes of the day
};

// Started in the last second of 语文's first prompt minute, so that prompt fires in its last
// second and the next one must still come in its own minute.
TEST_F(ScheduleScenario, ThreeDaysOfFourSubjectsSoundEveryPromptOnceADay) {
    const std::vector<SubjectDay> subjects{{Subject::Chinese, 9 * 60, 11 * 60 + 30},
                                           {Subject::Maths, 15 * 60, 17 * 60},
                                           {Subject::Combined, 19 * 60, 21 * 60 + 30},
                                           {Subject::English, 12 * 60 + 30, 14 * 60 + 30}};
    save(Subject::Chinese, "09", "00", "11", "30");
    save(Subject::Maths, "15", "00", "17", "00");
    save(Subject::Combined, "19", "00", "21", "30");
    save(Subject::English, "12", "30", "14", "30");
    for (Subject s : schedule::kSubjects) sim.tick(schedule::controlsOf(s).checkBox);
    clickStartPauseAt(at(0, 8, 35, 59));
    runUntil(at(3, 0, 0));

    std::vector<std::pair<int, std::int64_t>> expected;
    for (int day = 0; day < 3; ++day)
        for (const SubjectDay& s : subjects)
            for (const auto& [row, minute] : expectedRowMinutes(s.start, s.end))
                expected.emplace_back(row, at(day, 0, minute) / 60000);
    std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    ASSERT_EQ(expected.size(), 3u * 4u * 8u);

    const auto played = prompts();
    EXPECT_EQ(rowsAndMinutes(played), expected);
    EXPECT_EQ(played.front(), (PlayedPrompt{1, at(0, 8, 35, 59, 600)}));

    // Each prompt's hold-off ran for the row's time and every player but the last was removed.
    ASSERT_EQ(holdOffEnds.size(), played.size());
    for (std::size_t i = 0; i < played.size(); ++i)
        EXPECT_EQ(holdOffEnds[i].atMs - played[i].atMs,
                  schedule::kPromptTable[static_cast<std::size_t>(played[i].row - 1)].holdOffMs)
            << ::testing::PrintToString(played[i]);
    EXPECT_EQ(recorder.callsOf(PlayerCall::Kind::Remove).size(), played.size() - 1);
    EXPECT_EQ(recorder.livePlayers(), 1);
    EXPECT_EQ(caption(), "工作中...");
}

} // namespace
} // namespace vostrel::test

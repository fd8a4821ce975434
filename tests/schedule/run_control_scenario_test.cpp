// Starting, pausing and the hold-offs, driven by clicks on 按钮2 in virtual time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/prompt_table.h"
#include "schedule/run_control.h"
#include "tests/schedule/schedule_scenario.h"

namespace vostrel::test {
namespace {

using schedule::Subject;
using Kind = PlayerCall::Kind;
using RowMinutes = std::vector<std::pair<int, std::int64_t>>;

constexpr std::int64_t minuteOf(int day, int h, int m) { return at(day, h, m) / 60000; }

// Rows numbered from `firstRow`, one for each time, all on `day`; a time is {hour, minute}.
RowMinutes rowsOn(int day, int firstRow, std::initializer_list<std::pair<int, int>> times) {
    RowMinutes rows;
    for (const auto& [hour, minute] : times)
        rows.emplace_back(firstRow + static_cast<int>(rows.size()), minuteOf(day, hour, minute));
    return rows;
}

class RunControl : public ScheduleScenario {
protected:
    RunControl() {
        save(Subject::Chinese, "09", "00", "11", "30");
        save(Subject::Maths, "15", "00", "17", "00");
        save(Subject::Combined, "09", "00", "11", "30");
        save(Subject::English, "15", "00", "17", "00");
    }
    void expectOnlyMessage(std::string_view text) {
        ASSERT_EQ(sim.messageLog().size(), 1u);
        EXPECT_EQ(sim.messageLog()[0].text, text);
        EXPECT_EQ(sim.messageLog()[0].flags, 0);
        EXPECT_EQ(sim.messageLog()[0].title, "Vostrel软件");
    }
};

TEST_F(RunControl, StartWithoutATickedSubjectOnlyAsksAndChangesNothing) {
    ASSERT_TRUE(clickStartPause());
    expectOnlyMessage("是今天不考试吗？你好像还没有选择科目哦");
    EXPECT_EQ(caption(), "开始运行");
    EXPECT_TRUE(allSubjectTimersStopped());

    // The same from the paused state: the caption stays "已暂停".
    sim.tick("英语");
    clickStartPause();
    clickStartPause();
    sim.tick("英语", false);
    clickStartPause();
    EXPECT_EQ(sim.messageLog().size(), 2u);
    EXPECT_EQ(caption(), "已暂停");
    EXPECT_TRUE(allSubjectTimersStopped());
}

TEST_F(RunControl, StartRunsEveryPollingTimerAndTheFirstPollComesOneIntervalLater) {
    sim.tick("语文");
    sim.tick("英语");
    runUntil(at(0, 7, 0, 0, 250));
    ASSERT_TRUE(clickStartPause());
    EXPECT_EQ(caption(), "工作中...");
    EXPECT_TRUE(sim.messageLog().empty());
    for (Subject s : schedule::kSubjects) {
        EXPECT_EQ(interval(schedule::controlsOf(s).pollTimer), 600);
        EXPECT_EQ(interval(schedule::controlsOf(s).holdOffTimer), 0);
    }
    const int readsAtStart = clock.reads();
    runUntil(at(0, 7, 0, 0, 849));
    EXPECT_EQ(clock.reads(), readsAtStart);
    runUntil(at(0, 7, 0, 0, 850));
    EXPECT_EQ(clock.reads(), readsAtStart + 2) << "语文 and 英语 poll; the unticked subjects return at once";
}

TEST_F(RunControl, ASubjectTickedAfterStartIsAnnounced) {
    sim.tick("语文");
    clickStartPauseAt(at(0, 14, 0));
    runUntil(at(0, 14, 20));
    sim.tick("数学");
    runUntil(at(0, 17, 1));
    EXPECT_EQ(rowsAndMinutes(prompts()),
              rowsOn(0, 1, {{14, 35}, {14, 40}, {14, 45}, {14, 52}, {14, 55}, {15, 0}, {16, 45}, {17, 0}}));
}

// Pausing silences at once and stops every subject timer, hold-offs included, so nothing
// sounds while the caption reads "已暂停"; a new start carries on with the next prompt.
TEST_F(RunControl, PauseStopsTheSoundAndEveryTimerUntilTheNextStart) {
    sim.tick("语文");
    clickStartPauseAt(at(0, 8, 30));
    runUntil(at(0, 8, 36));
    ASSERT_EQ(prompts().size(), 1u);
    ASSERT_EQ(interval("语文时钟1"), 283000);
    const audio::PlayerHandle sounding = slot.CurrentPlayer();

    ASSERT_TRUE(clickStartPause());
    EXPECT_EQ(caption(), "已暂停");
    ASSERT_EQ(recorder.callsOf(Kind::Remove).size(), 1u);
    EXPECT_EQ(recorder.callsOf(Kind::Remove)[0].player, sounding);
    EXPECT_EQ(slot.CurrentPlayer(), nullptr);
    EXPECT_TRUE(allSubjectTimersStopped());

    runUntil(at(0, 12, 0));
    EXPECT_EQ(prompts().size(), 1u);
    EXPECT_TRUE(holdOffEnds.empty());
    EXPECT_EQ(caption(), "已暂停");

    // A start at 08:37 of the next day finds rows 2 to 8 as usual.
    clickStartPauseAt(at(1, 8, 37));
    EXPECT_EQ(caption(), "工作中...");
    runUntil(at(1, 12, 0));
    RowMinutes expected = rowsOn(0, 1, {{8, 35}});
    for (const auto& row : rowsOn(1, 2, {{8, 40}, {8, 45}, {8, 52}, {8, 55}, {9, 0}, {11, 15}, {11, 30}}))
        expected.push_back(row);
    EXPECT_EQ(rowsAndMinutes(prompts()), expected);
}

// A pause and start within the minute of a fired row does not play that row again: each prompt
// of an exam sounds once. The pause cut the prompt off, and the record says so.
TEST_F(RunControl, PauseAndStartWithinTheFiredMinuteDoNotPlayTheRowAgain) {
    recorder.setPromptLength(30000);
    sim.tick("语文");
    clickStartPauseAt(at(0, 8, 34, 59, 900));
    clickStartPauseAt(at(0, 8, 35, 20));
    clickStartPauseAt(at(0, 8, 35, 30));
    runUntil(at(0, 8, 41));
    const auto played = prompts();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0], (PlayedPrompt{1, at(0, 8, 35, 0, 500)}));
    EXPECT_EQ(played[1].row, 2);
    const auto ended = record.withEvent("播放结束");
    ASSERT_FALSE(ended.empty());
    EXPECT_NE(ended[0].find("第1条"), std::string::npos);
    EXPECT_TRUE(ended[0].ends_with("暂停时中断")) << ended[0];
    EXPECT_EQ(record.withEvent("暂停").size(), 1u);
    EXPECT_EQ(record.withEvent("开始运行").size(), 2u);
}

// A hold-off ending re-arms only its own subject.
TEST_F(RunControl, AHoldOffTouchesOnlyItsOwnSubject) {
    save(Subject::English, "10", "00", "12", "00");
    sim.tick("语文");
    sim.tick("英语");
    clickStartPauseAt(at(0, 9, 30));
    runUntil(at(0, 9, 35, 1));
    ASSERT_EQ(rowsAndMinutes(prompts()), (RowMinutes{{1, minuteOf(0, 9, 35)}}));
    EXPECT_EQ(interval("英语时钟1"), 283000);
    EXPECT_EQ(interval("英语时钟"), 0);
    EXPECT_EQ(interval("语文时钟"), 600);
    EXPECT_EQ(interval("语文时钟1"), 0);

    runUntil(at(0, 9, 39, 50)); // the hold-off ends at 09:39:43.x
    ASSERT_EQ(holdOffEnds.size(), 1u);
    EXPECT_EQ(holdOffEnds[0].subject, Subject::English);
    EXPECT_EQ(interval("英语时钟1"), 0);
    EXPECT_EQ(interval("英语时钟"), 600);
    EXPECT_EQ(interval("语文时钟"), 600);
    EXPECT_EQ(interval("语文时钟1"), 0);
}

class NoSavedTimes : public ScheduleScenario {};

// Until a save has derived the end times the schedule would announce midnight instead of the
// exam; starting refuses with a pointer to the save button.
TEST_F(NoSavedTimes, StartRefusesUntilASaveHasDerivedTheEndTimes) {
    sim.tick("语文");
    runUntil(at(0, 23, 50));
    ASSERT_TRUE(clickStartPause());
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_EQ(sim.messageLog()[0].text, "请先点击“保存设置”，再开始运行");
    EXPECT_EQ(sim.messageLog()[0].flags, 0);
    EXPECT_EQ(sim.messageLog()[0].title, "Vostrel软件");
    EXPECT_EQ(caption(), "开始运行");
    EXPECT_TRUE(allSubjectTimersStopped());
    runUntil(at(1, 0, 5));
    EXPECT_TRUE(recorder.calls().empty());

    // A rejected first save leaves the start texts but no end texts: still refused.
    times[schedule::indexOf(Subject::Chinese)].startHour = "24";
    times[schedule::indexOf(Subject::Chinese)].startMinute = "00";
    clickStartPause();
    EXPECT_EQ(sim.messageLog().size(), 2u);
    EXPECT_EQ(caption(), "开始运行");

    save(Subject::Chinese, "09", "00", "11", "30");
    clickStartPause();
    EXPECT_EQ(sim.messageLog().size(), 2u);
    EXPECT_EQ(caption(), "工作中...");
    runUntil(at(1, 8, 36));
    EXPECT_EQ(rowsAndMinutes(prompts()), (RowMinutes{{1, minuteOf(1, 8, 35)}}));
}

TEST_F(NoSavedTimes, NoSubjectTickedIsAskedFirst) {
    clickStartPause();
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_EQ(sim.messageLog()[0].text, "是今天不考试吗？你好像还没有选择科目哦");
}

} // namespace
} // namespace vostrel::test

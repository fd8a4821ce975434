// A whole exam day through the real window, settings and schedule, on the simulated platform:
// from an empty folder to the prompts of the day, then a restart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/message_box.h"
#include "tests/app/day_fixture.h"

namespace vostrel::test {
namespace {

// The day starts at 07:50.
using ExamDay = DayFixture;

TEST_F(ExamDay, FromAnEmptyFolderToTheDaysPromptsAndARestart) {
    placeVoiceFile();
    startWithRecorder();
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_EQ(sim.messageLog()[0].text, "您是第一次使用，请先编辑好时间");

    sim.tick("语文");
    sim.tick("英语");
    sim.advance(200);
    sim.clearAndType("语文时间", "08:30");
    sim.clearAndType("英语时间", "10:15");
    sim.click("按钮1");
    EXPECT_EQ(controls().text("语文结束"), "结束时间为11:00");
    EXPECT_EQ(controls().text("英语结束"), "结束时间为12:15");
    sim.click("按钮2");
    ASSERT_EQ(controls().text("按钮2"), "工作中...");

    sim.advanceToTime(12, 30);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "08:05"}, {2, "08:10"}, {3, "08:15"}, {4, "08:22"}, {5, "08:25"}, {6, "08:30"}, {1, "09:50"}, {2, "09:55"},
        {3, "10:00"}, {4, "10:07"}, {5, "10:10"}, {6, "10:15"}, {7, "10:45"}, {8, "11:00"}, {7, "12:00"}, {8, "12:15"},
    };
    EXPECT_EQ(promptsHeard(), expected);
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);

    // The next morning: the boxes show the saved times, and the schedule needs a save first.
    // The computer was switched off overnight: a new session.
    const auto again = startAgain({2026, 12, 9, 7, 0, 0, 0}, "next morning");
    platform::sim::SimPlatform& nextDay = again->sim;
    const platform::Controls& window = again->program.controls();
    EXPECT_TRUE(nextDay.messageLog().empty());
    EXPECT_EQ(window.text("语文时间"), "08:30");
    EXPECT_EQ(window.text("数学时间"), "15:00");
    EXPECT_EQ(window.text("英语时间"), "10:15");
    EXPECT_EQ(window.text("语文结束"), "保存自动获取结束时间");
    nextDay.tick("语文");
    nextDay.click("按钮2");
    ASSERT_EQ(nextDay.messageLog().size(), 1u);
    EXPECT_EQ(nextDay.messageLog()[0].text, "请先点击“保存设置”，再开始运行");
    EXPECT_EQ(window.text("按钮2"), "开始运行");
    nextDay.click("按钮1");
    nextDay.click("按钮2");
    EXPECT_EQ(window.text("按钮2"), "工作中...");
    EXPECT_EQ(again->program.finish(), 0);
}

TEST_F(ExamDay, AutoRepairMakesTheNextStartAFirstRun) {
    placeVoiceFile();
    startWithRecorder();
    sim.click("按钮1");
    ASSERT_TRUE(sim.files().exists(programFile("vanto.ini")));
    sim.click("按钮4");
    EXPECT_EQ(sim.messageLog().back().text, "自动修复成功，重新打开程序即可");
    EXPECT_EQ(sim.messageLog().back().title, platform::kDefaultMessageTitle);
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_FALSE(sim.files().exists(programFile("vanto.ini")));
}

} // namespace
} // namespace vostrel::test

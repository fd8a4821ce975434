// The window's own behaviours, through the whole program on the simulated platform.
#include <gtest/gtest.h>

#include "app/behaviours.h"
#include "schedule/subjects.h"
#include "tests/app/program_fixture.h"

namespace vostrel::test {
namespace {

class Behaviours : public ProgramFixture {
protected:
    Behaviours() { placeVoiceFile(); }
};

TEST_F(Behaviours, RightAfterStart) {
    startProgram();
    EXPECT_TRUE(sim.windowShown());
    for (const auto& s : schedule::kSubjectControls) {
        EXPECT_FALSE(controls().ticked(s.checkBox)) << s.checkBox;
        EXPECT_FALSE(controls().visible(s.timeBox)) << s.timeBox;
        EXPECT_FALSE(controls().visible(s.endLabel)) << s.endLabel;
        EXPECT_EQ(controls().interval(s.pollTimer), 0);
        EXPECT_EQ(controls().interval(s.holdOffTimer), 0);
    }
    EXPECT_FALSE(controls().visible("图片框1"));
    EXPECT_FALSE(controls().alwaysOnTop());
    sim.advance(999);
    EXPECT_EQ(controls().text("透明标签2"), "正在获取系统时间");
    sim.advance(1);
    EXPECT_EQ(controls().text("透明标签2"), "系统时间为 08:00:01");
}

TEST(ClockText, PadsEachFieldToTwoDigits) {
    struct Case {
        int h, m, s;
        const char* text;
    };
    const Case cases[] = {{0, 0, 0, "系统时间为 00:00:00"},
                          {23, 59, 59, "系统时间为 23:59:59"},
                          {9, 5, 7, "系统时间为 09:05:07"},
                          {13, 45, 30, "系统时间为 13:45:30"}};
    for (const Case& c : cases) EXPECT_EQ(app::clockText(c.h, c.m, c.s), c.text);
}

TEST_F(Behaviours, ClockAroundMidnightAndTheHourChange) {
    startProgram();
    sim.advance(1000); // now exactly on a tick of 时钟2: the next one comes 1000 ms later
    sim.setLocalTime({2026, 12, 8, 23, 59, 58, 0});
    sim.advance(1000);
    EXPECT_EQ(controls().text("透明标签2"), "系统时间为 23:59:59");
    sim.advance(1000);
    EXPECT_EQ(controls().text("透明标签2"), "系统时间为 00:00:00");
    // A tick exactly on the change of the hour shows one consistent reading.
    sim.setLocalTime({2026, 12, 9, 9, 59, 59, 0});
    sim.advance(1000);
    EXPECT_EQ(controls().text("透明标签2"), "系统时间为 10:00:00");
}

TEST_F(Behaviours, ATickedSubjectShowsItsRowWithin200ms) {
    startProgram();
    sim.advance(50);
    sim.tick("语文");
    sim.advance(149);
    EXPECT_FALSE(controls().visible("语文时间"));
    sim.advance(1);
    EXPECT_TRUE(controls().visible("语文时间"));
    EXPECT_TRUE(controls().visible("语文结束"));
    EXPECT_FALSE(controls().visible("数学时间"));
    sim.clearAndType("语文时间", "08:30");
    controls().setText("语文结束", "结束时间为11:00");
    sim.tick("语文", false);
    sim.advance(200);
    EXPECT_FALSE(controls().visible("语文时间"));
    EXPECT_FALSE(controls().visible("语文结束"));
    sim.tick("语文");
    sim.advance(200);
    EXPECT_EQ(controls().text("语文时间"), "08:30");
    EXPECT_EQ(controls().text("语文结束"), "结束时间为11:00");
}

TEST_F(Behaviours, RowsThatDoNotChangeAreNotRepainted) {
    startProgram();
    sim.tick("英语");
    sim.advance(200);
    const int box = sim.window().repaintCount("英语时间");
    const int hidden = sim.window().repaintCount("数学时间");
    sim.advance(10'000); // fifty ticks of 时钟1
    EXPECT_EQ(sim.window().repaintCount("英语时间"), box);
    EXPECT_EQ(sim.window().repaintCount("数学时间"), hidden);
    EXPECT_GE(sim.window().timerTicks("时钟1"), 50u);
}

TEST_F(Behaviours, KeepOnTopFollowsTheButtonCaption) {
    startProgram();
    sim.click("按钮3");
    EXPECT_EQ(controls().text("按钮3"), "取消前置");
    EXPECT_TRUE(controls().alwaysOnTop());
    sim.click("按钮3");
    EXPECT_EQ(controls().text("按钮3"), "窗口前置");
    EXPECT_FALSE(controls().alwaysOnTop());
    EXPECT_EQ(sim.window().alwaysOnTopChanges(), 2);
    // Any caption other than "取消前置" means: put the window on top.
    controls().setText("按钮3", "something else");
    sim.click("按钮3");
    EXPECT_TRUE(controls().alwaysOnTop());
}

TEST_F(Behaviours, PictureTogglesAndTouchesNothingElse) {
    startProgram();
    const int groupRepaints = sim.window().repaintCount("分组框1");
    sim.click("按钮5");
    EXPECT_TRUE(controls().visible("图片框1"));
    sim.click("按钮5");
    EXPECT_FALSE(controls().visible("图片框1"));
    EXPECT_EQ(controls().text("按钮5"), "打赏作者");
    EXPECT_EQ(sim.window().repaintCount("分组框1"), groupRepaints);
}

TEST_F(Behaviours, DownloadPageOpensTheHelpPage) {
    startProgram();
    sim.click("按钮6");
    ASSERT_EQ(sim.shellOpens().size(), 1u);
    EXPECT_NE(sim.shellOpens()[0].find("help"), std::string::npos);
}

TEST_F(Behaviours, TabOrderSkipsHiddenTimeBoxes) {
    startProgram();
    sim.tick("语文");
    sim.tick("英语");
    sim.advance(200);
    controls().giveFocus("英语");
    // Each row's subject list right after its check box; 按钮7 last.
    const char* forward[] = {"英语科目", "综合",  "综合科目", "语文时间", "英语时间", "按钮1", "按钮2",
                             "按钮3",    "按钮4", "按钮6",    "按钮5",    "按钮7",    "语文"};
    for (const char* expected : forward) {
        sim.pressTab();
        EXPECT_EQ(controls().focusedControl(), expected);
    }
    sim.pressShiftTab();
    EXPECT_EQ(controls().focusedControl(), "按钮7");
}

} // namespace
} // namespace vostrel::test

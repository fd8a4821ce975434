// What guards the day against the computer and the operator: a restart inside a prompt's minute,
// a second copy of the program, a record that cannot be written, a clock that steps or that no
// time server keeps right.
#include <gtest/gtest.h>

#include "tests/app/day_fixture.h"

namespace vostrel::test {
namespace {

class DayGuard : public DayFixture {
protected:
    std::string attentionLine() { return controls().text("透明标签5"); }
    void startChineseAtNine() {
        placeVoiceFiles();
        startWithRecorder();
        sim.tick("语文");
        saveAndStart();
    }
};

// The program ended and started again inside the minute of a prompt that has sounded: the day's
// record tells it, and the prompt does not sound again.
TEST_F(DayGuard, ARestartInsideAPromptsMinuteDoesNotPlayItAgain) {
    startChineseAtNine();
    sim.advanceToTime(8, 35, 10);
    ASSERT_EQ(recorder.callsOf(PlayerCall::Kind::Create).size(), 1u);
    endTheDay();

    RecordingPlayer players;
    const auto restarted = startAgain({2026, 12, 8, 8, 35, 20, 0}, "restarted",
                                      [&](audio::PlayerEntryTable& t) { players.installInto(t); });
    restarted->sim.tick("语文");
    restarted->sim.click("按钮1");
    restarted->sim.click("按钮2");
    restarted->sim.advance(5 * 60 * 1000); // to 08:40:23
    const auto created = players.callsOf(PlayerCall::Kind::Create);
    ASSERT_EQ(created.size(), 1u) << "only the 08:40 prompt";
    EXPECT_TRUE(created[0].files.at(0).ends_with("/Vostrel/2speak.mp3"));
    EXPECT_EQ(restarted->program.finish(), 0);
}

// A save that keeps the start time keeps the exam: its prompt does not sound again. A save that
// moves the start makes a new exam, whose prompts sound at their new moments; the old exam's
// next prompt does not.
TEST_F(DayGuard, ASaveKeepsTheExamUnlessItMovesTheStart) {
    startChineseAtNine();
    sim.advanceToTime(8, 35, 10);
    sim.click("按钮1");
    sim.advanceToTime(8, 39, 50);
    ASSERT_EQ(recorder.callsOf(PlayerCall::Kind::Create).size(), 1u) << "the save at 08:35:10 replayed prompt 1";

    controls().setText("语文时间", "09:10");
    sim.click("按钮1");
    sim.advanceToTime(8, 45, 30);
    const auto created = recorder.callsOf(PlayerCall::Kind::Create);
    ASSERT_EQ(created.size(), 2u) << "only the new exam's 08:45 prompt, not the old one's 08:40";
    EXPECT_TRUE(created[1].files.at(0).ends_with("/Vostrel/1speak.mp3"));
    endTheDay();
}

// A second copy in the same session is refused: it says so, brings the first to the front and
// ends, without a window of its own.
TEST_F(DayGuard, ASecondCopyIsRefusedAndTheFirstComesToTheFront) {
    startChineseAtNine();
    platform::sim::SimPlatform secondSession(platform::sim::SimPlatform::Options{
        {2026, 12, 8, 8, 1, 0, 0}, sim.files().programDirectory(), nullptr, nullptr});
    const app::ProgramEnd end = app::runProgram(secondSession, {});
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_FALSE(secondSession.windowExists());
    ASSERT_EQ(secondSession.messageLog().size(), 1u);
    EXPECT_EQ(secondSession.messageLog()[0].text, app::kAlreadyRunningMessage);
    EXPECT_EQ(sim.activationRequests(), 1);
    EXPECT_TRUE(sim.windowExists()) << "the first copy runs on";
    EXPECT_EQ(controls().text("按钮2"), "工作中...");
    endTheDay();
}

// A folder the record cannot be written to (a full disk, a read-only folder, a record another
// program holds): every prompt still plays, and the window says so once.
TEST_F(DayGuard, ARecordThatCannotBeWrittenCostsNoPrompt) {
    sim.simBackgroundFiles().failWrites("磁盘已满");
    startChineseAtNine();
    sim.advance(1000);
    EXPECT_EQ(attentionLine(), "播放记录无法写入：磁盘已满");
    EXPECT_TRUE(sim.window().alert("透明标签5"));
    sim.advanceToTime(9, 1);
    EXPECT_EQ(recorder.callsOf(PlayerCall::Kind::Create).size(), 6u);
    EXPECT_EQ(attentionLine(), "09:00 语文 第6条 开考时 已播放") << "said once, not again at every failed write";
    endTheDay();
}

// A step of the wall clock goes into the record and shows for a minute; a clock that no time
// server keeps right is a warning before the run starts.
TEST_F(DayGuard, TheClockIsWatched) {
    sim.setClockSynchronised(false);
    placeVoiceFiles();
    startWithRecorder();
    sim.advance(1000);
    EXPECT_EQ(attentionLine(), "电脑时间没有与网络时间同步，请核对电脑时间");
    EXPECT_TRUE(sim.window().alert("透明标签5"));

    sim.setLocalTime({2026, 12, 8, 7, 51, 31, 0}); // 90 seconds ahead
    sim.advance(1000);
    EXPECT_EQ(attentionLine(), "电脑时间刚跳变：向前 1分30秒");
    sim.advance(61 * 1000);
    EXPECT_EQ(attentionLine(), "电脑时间没有与网络时间同步，请核对电脑时间");
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);
    const auto lines = recordLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "2026-12-08 07:51:32 | 电脑时间跳变 | 向前 1分30秒（或电脑刚从睡眠中醒来）");
}

} // namespace
} // namespace vostrel::test

// Start and end of the program: every way it ends, with exit code 0, playback stopped and
// the keep-awake request released.
#include <gtest/gtest.h>

#include "tests/app/program_fixture.h"

namespace vostrel::test {
namespace {

// A player module that only counts, to see what the end path does with the player slot.
struct CountingPlayers {
    int created = 0, removed = 0;
    app::PlayerModuleInstaller installer() {
        return [this](audio::PlayerEntryTable& t) {
            t.put("CreatePlayer", audio::CreatePlayerOp{[this](const char*, std::int32_t) -> audio::PlayerHandle {
                      ++created;
                      return this;
                  }});
            t.put("RemovePlayer", audio::RemovePlayerOp{[this](audio::PlayerHandle) { ++removed; }});
        };
    }
};

class ProgramLife : public ProgramFixture {};

TEST_F(ProgramLife, EscapeWhileTypingEndsWithExitCodeZero) {
    placeVoiceFile();
    startProgram();
    sim.tick("语文");
    sim.advance(200);
    sim.clearAndType("语文时间", "08:3");
    EXPECT_TRUE(sim.pressEscape());
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_FALSE(sim.windowExists());
}

TEST_F(ProgramLife, TheEndPathStopsTheSoundingPrompt) {
    placeVoiceFile();
    CountingPlayers players;
    startProgram(players.installer());
    program->playSlot().PlayMp3(1, {std::string_view("/Vostrel/6speak.mp3")});
    ASSERT_EQ(players.created, 1);
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_EQ(players.removed, 1);
}

TEST_F(ProgramLife, MissingVoiceFilesEndTheProgramAfterTheWindowAppeared) {
    startProgram();
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_EQ(sim.messageLog()[0].text, "子目录下没有语音文件，因此不能继续操作，请到网站上下载");
    EXPECT_EQ(sim.messageLog()[0].flags, 16);
    EXPECT_EQ(sim.messageLog()[0].title, "Vostrel软件");
    EXPECT_EQ(sim.shellOpens().size(), 1u);
    EXPECT_TRUE(sim.windowShown()); // the queued close waits for the event loop
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_FALSE(sim.windowExists());
    EXPECT_FALSE(sim.runBudgetExhausted());
}

TEST_F(ProgramLife, KeepsTheComputerAwakeOnlyWhileRunning) {
    placeVoiceFile();
    startProgram();
    sim.tick("语文");
    sim.click("按钮1"); // save, with its three seconds of "保存成功"
    EXPECT_EQ(controls().text("按钮1"), "保存设置");
    sim.click("按钮2");
    ASSERT_EQ(controls().text("按钮2"), "工作中...");
    EXPECT_TRUE(sim.keptAwake());
    sim.click("按钮2");
    EXPECT_FALSE(sim.keptAwake());
    sim.click("按钮2");
    EXPECT_TRUE(sim.keptAwake());
    sim.setQuestionResponder([](const auto&, auto&) { return true; });
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_FALSE(sim.keptAwake());
}

// While the run announces prompts an accidental Esc or close box does not end the day: the
// operator is asked first, and keeping the run is the default. Paused, the window closes at once.
TEST_F(ProgramLife, EscapeWhileRunningAsksFirstAndKeepsRunningByDefault) {
    placeVoiceFile();
    startProgram();
    sim.tick("语文");
    sim.click("按钮1");
    sim.click("按钮2");
    EXPECT_TRUE(sim.pressEscape());
    ASSERT_EQ(sim.messageLog().size(), 2u); // the first-run message, then the question
    EXPECT_TRUE(sim.messageLog()[1].question);
    EXPECT_EQ(sim.messageLog()[1].text, "正在播报考试提示，确定要退出吗？");
    EXPECT_EQ(sim.messageLog()[1].title, "Vostrel软件");
    EXPECT_TRUE(sim.windowExists());
    EXPECT_EQ(controls().text("按钮2"), "工作中...");

    sim.click("按钮2"); // paused: no question
    EXPECT_TRUE(sim.closeBox());
    EXPECT_EQ(sim.messageLog().size(), 2u);
    EXPECT_FALSE(sim.windowExists());
    EXPECT_EQ(runToEnd(), 0);
}

TEST_F(ProgramLife, ConfirmedCloseWhileRunningEndsTheProgram) {
    placeVoiceFile();
    startProgram();
    sim.tick("语文");
    sim.click("按钮1");
    sim.click("按钮2");
    sim.setQuestionResponder([](const auto&, auto&) { return true; });
    EXPECT_TRUE(sim.closeBox());
    EXPECT_FALSE(sim.windowExists());
    EXPECT_EQ(runToEnd(), 0);
}

TEST_F(ProgramLife, ARunningDayKeepsGoingUntilTheWindowCloses) {
    placeVoiceFile();
    startProgram();
    sim.setRunBudget(2 * 3600 * 1000);
    program->runEventLoop(); // nobody closes the window: the budget runs out
    EXPECT_TRUE(sim.runBudgetExhausted());
    EXPECT_TRUE(sim.windowExists());
    EXPECT_EQ(program->finish(), 0);
}

} // namespace
} // namespace vostrel::test

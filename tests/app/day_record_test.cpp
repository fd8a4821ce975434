// The exam day you can see and prove: a whole day through the real program on the simulated
// platform, with one prompt whose device fails, one whose voice file is missing and a pause; the
// record holds exactly the expected lines in order, the status lines say what comes next and what
// went wrong, and the plan page lists exactly the prompts the schedule computes.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio/play_outcome.h"
#include "schedule/calendar.h"
#include "schedule/exam_prompts.h"
#include "tests/app/day_fixture.h"

namespace vostrel::test {
namespace {

using audio::PromptEnd;

class DayRecord : public DayFixture {
protected:
    std::string nextLine() { return controls().text("透明标签4"); }
    std::string attentionLine() { return controls().text("透明标签5"); }
    bool attentionIsAlert() { return sim.window().alert("透明标签5"); }
};

TEST_F(DayRecord, AWholeDayWithADeviceFailureAMissingFileAndAPause) {
    placeVoiceFiles({5});
    recorder.setPromptLength(20000);
    recorder.failFile(voicePath(3), {PromptEnd::DeviceOpenFailed, "ALSA \"default\": No such device"});
    recorder.failFile(voicePath(5), {PromptEnd::FileMissing, ""});
    startWithRecorder();
    sim.tick("语文");
    sim.advance(1000);
    EXPECT_EQ(attentionLine(), "第5条语音文件缺失") << "named before the day starts";
    EXPECT_TRUE(attentionIsAlert());

    sim.advanceToTime(8, 0);
    saveAndStart();
    sim.advance(1000);
    EXPECT_EQ(nextLine(), "下一条：08:35 语文 第1条 开考前25分钟");

    sim.advanceToTime(8, 45, 30);
    EXPECT_EQ(attentionLine(), "08:45 语文 第3条 开考前15分钟 无法打开声音设备");
    EXPECT_TRUE(attentionIsAlert());
    sim.advanceToTime(8, 52, 10);
    EXPECT_EQ(attentionLine(), "正在播放：08:52 语文 第4条 开考前8分钟");
    EXPECT_FALSE(attentionIsAlert()) << "the next prompt plays well";
    sim.advanceToTime(8, 55, 30);
    EXPECT_EQ(attentionLine(), "08:55 语文 第5条 开考前5分钟 语音文件缺失");
    EXPECT_TRUE(attentionIsAlert());

    sim.advanceToTime(11, 15, 10);
    sim.click("按钮2"); // paused while the 11:15 prompt sounds
    sim.advance(1000);
    EXPECT_EQ(nextLine(), "已暂停：到时间不会播放提示");
    sim.advanceToTime(11, 20);
    sim.click("按钮2");
    sim.advanceToTime(11, 31);
    EXPECT_EQ(nextLine(), "今天没有待播的提示了");
    EXPECT_EQ(attentionLine(), "11:30 语文 第8条 考试结束时 已播放");

    sim.setQuestionResponder([](const auto&, auto&) { return true; });
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);

    const std::string exam = " | 语文 | 2026-12-08 09:00开考 | ";
    const auto prompt = [&](const char* time, const char* event, const char* row, const char* planned, int n,
                            const std::string& tail = "") {
        return std::string("2026-12-08 ") + time + " | " + event + exam + row + " | 计划 " + planned +
               " | 第1行 | Vostrel/" + std::to_string(n) + "speak.mp3" + tail;
    };
    const std::vector<std::string> expected = {
        "2026-12-08 07:50:00 | 程序启动",
        "2026-12-08 07:50:01 | 语音文件有问题 | 第5条语音文件缺失",
        "2026-12-08 08:00:00 | 保存设置 | 第1行 语文 09:00（150分钟） | 第2行 文数/理数 15:00（120分钟） | "
        "第3行 文综/理综 09:00（150分钟） | 第4行 英语 15:00（120分钟）",
        "2026-12-08 08:00:03 | 开始运行",
        prompt("08:35:00", "开始播放", "第1条 开考前25分钟", "08:35", 1),
        prompt("08:35:21", "播放结束", "第1条 开考前25分钟", "08:35", 1, " | 开始 08:35:00 | 已播放"),
        prompt("08:40:00", "开始播放", "第2条 开考前20分钟", "08:40", 2),
        prompt("08:40:21", "播放结束", "第2条 开考前20分钟", "08:40", 2, " | 开始 08:40:00 | 已播放"),
        prompt("08:45:00", "开始播放", "第3条 开考前15分钟", "08:45", 3),
        prompt("08:45:01", "播放结束", "第3条 开考前15分钟", "08:45", 3,
               " | 开始 08:45:00 | 无法打开声音设备 | 原因：ALSA \"default\": No such device"),
        prompt("08:52:00", "开始播放", "第4条 开考前8分钟", "08:52", 4),
        prompt("08:52:21", "播放结束", "第4条 开考前8分钟", "08:52", 4, " | 开始 08:52:00 | 已播放"),
        prompt("08:55:00", "开始播放", "第5条 开考前5分钟", "08:55", 5),
        prompt("08:55:01", "播放结束", "第5条 开考前5分钟", "08:55", 5, " | 开始 08:55:00 | 语音文件缺失"),
        prompt("09:00:00", "开始播放", "第6条 开考时", "09:00", 6),
        prompt("09:00:21", "播放结束", "第6条 开考时", "09:00", 6, " | 开始 09:00:00 | 已播放"),
        prompt("11:15:00", "开始播放", "第7条 结束前15分钟", "11:15", 7),
        prompt("11:15:10", "播放结束", "第7条 结束前15分钟", "11:15", 7, " | 开始 11:15:00 | 暂停时中断"),
        "2026-12-08 11:15:10 | 暂停",
        "2026-12-08 11:20:00 | 开始运行",
        prompt("11:30:00", "开始播放", "第8条 考试结束时", "11:30", 8),
        prompt("11:30:20", "播放结束", "第8条 考试结束时", "11:30", 8, " | 开始 11:30:00 | 已播放"),
        "2026-12-08 11:31:00 | 程序退出",
    };
    EXPECT_EQ(recordLines(), expected);
}

// The plan page written at the save lists every prompt of every ticked row's exam, in time
// order, as the schedule computes them, with the words the invigilators read out.
TEST_F(DayRecord, ThePlanPageListsExactlyThePromptsTheScheduleComputes) {
    placeVoiceFiles();
    startWithRecorder();
    sim.tick("语文");
    sim.tick("英语");
    sim.advance(200);
    ASSERT_TRUE(sim.clearAndType("英语时间", "10:30"));
    saveAndStart();
    const std::string page = planPage();
    std::vector<std::string> listed;
    for (std::size_t at = page.find("<td class=\"time\">"); at != std::string::npos;
         at = page.find("<td class=\"time\">", at + 1)) {
        const std::size_t from = at + std::string("<td class=\"time\">").size();
        listed.push_back(page.substr(from, 5));
    }
    std::vector<std::string> computed;
    std::vector<schedule::ExamPrompt> prompts;
    for (const schedule::Subject s : {schedule::Subject::Chinese, schedule::Subject::English}) {
        schedule::SubjectTimes times = schedule::initialSubjectTimes()[schedule::indexOf(s)];
        const bool chinese = s == schedule::Subject::Chinese;
        times.startHour = chinese ? "09" : "10";
        times.startMinute = chinese ? "00" : "30";
        times.endHour = chinese ? "11" : "12";
        times.endMinute = "30";
        const auto row = schedule::examPrompts(s, times, {2026, 12, 8});
        prompts.insert(prompts.end(), row.begin(), row.end());
    }
    std::stable_sort(prompts.begin(), prompts.end(), [](const auto& a, const auto& b) { return a.moment < b.moment; });
    for (const auto& p : prompts) computed.push_back(schedule::timeOfDayText(p.moment).substr(0, 5));
    EXPECT_EQ(listed, computed);
    EXPECT_NE(page.find("2026年12月8日"), std::string::npos);
    EXPECT_NE(page.find("请考生进入考场。"), std::string::npos) << "the first prompt's words";
    EXPECT_NE(page.find("考试结束，请立即停止答题，将试卷和答题卡反扣在桌面上，待监考员收齐后离开考场。"),
              std::string::npos);
    sim.setQuestionResponder([](const auto&, auto&) { return true; });
    sim.click("按钮7");
    ASSERT_EQ(sim.shellOpens().size(), 1u);
    EXPECT_TRUE(sim.shellOpens()[0].ends_with("/%E8%80%83%E5%8A%A1%E6%8F%90%E7%A4%BA%E5%AE%89%E6%8E%92.html"))
        << sim.shellOpens()[0];
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);
}

} // namespace
} // namespace vostrel::test

// Any exam day of 2026 through the real window: rows that hold the 3+1+2 subjects and their
// lengths, a subject of the school's own, a prepared timetable that fills the day, and a school
// that uses the program as it always has, whose window, file and prompts stay as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/text_codec.h"
#include "tests/app/day_fixture.h"

namespace vostrel::test {
namespace {

using RowAndTime = std::pair<int, std::string>;

class AnyExamDay : public DayFixture {
protected:
    AnyExamDay() : DayFixture({2026, 6, 9, 7, 50, 0, 0}) {}
    void setRow(std::string_view checkBox, std::string_view list, std::string_view subject, std::string_view box,
                std::string_view time) {
        ASSERT_TRUE(sim.tick(checkBox));
        ASSERT_TRUE(sim.choose(list, subject));
        sim.advance(200);
        ASSERT_TRUE(sim.clearAndType(box, time));
    }
    std::string fileBytes(const std::string& name) {
        std::ifstream in(programFile(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeIni(std::string_view utf8) { writeProgramFile("vanto.ini", platform::utf8ToGbk(utf8)); }
};

// The third day of the national 3+1+2 timetable, chosen in the window: 32 prompts, each at its
// minute, the end prompts 75 minutes after each start.
TEST_F(AnyExamDay, TheThirdDayOfTheNationalTimetableChosenInTheWindow) {
    placeVoiceFiles();
    startWithRecorder();
    setRow("语文", "语文科目", "化学", "语文时间", "08:30");
    setRow("数学", "数学科目", "地理", "数学时间", "11:00");
    setRow("综合", "综合科目", "思想政治", "综合时间", "14:30");
    setRow("英语", "英语科目", "生物", "英语时间", "17:00");
    saveAndStart();
    EXPECT_EQ(controls().text("语文结束"), "结束时间为09:45");
    EXPECT_EQ(controls().text("英语结束"), "结束时间为18:15");
    sim.advanceToTime(18, 20);

    std::vector<RowAndTime> expected;
    for (const int start : {8 * 60 + 30, 11 * 60, 14 * 60 + 30, 17 * 60}) {
        int n = 1;
        for (const int before : {25, 20, 15, 8, 5, 0}) expected.emplace_back(n++, clockOf((start - before) * 60000LL));
        expected.emplace_back(7, clockOf((start + 75 - 15) * 60000LL));
        expected.emplace_back(8, clockOf((start + 75) * 60000LL));
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(promptsHeard(), expected);
    EXPECT_EQ(promptsHeard().size(), 32u);
    endTheDay();
    EXPECT_NE(platform::gbkToUtf8(fileBytes("vanto.ini")).find("第3行科目=思想政治\r\n第3行时长=75\r\n"),
              std::string::npos);
}

// "自定义…" asks for a name and a length; a usable answer goes into the row, with the length the
// prompts follow; an unusable one is said and asked again; a cancel leaves the row as it was.
TEST_F(AnyExamDay, ASubjectOfTheSchoolsOwnWithItsLength) {
    placeVoiceFiles();
    startWithRecorder();
    std::vector<std::vector<std::string>> answers{{"高一美术课考试九个字", "90"}, {"美术", "20"}, {"美术", "90"}};
    sim.setFormResponder([&](const platform::sim::FormRecord& form, auto&) -> std::optional<std::vector<std::string>> {
        EXPECT_EQ(form.title, "自定义科目");
        EXPECT_EQ(form.fields.size(), 2u);
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    setRow("语文", "语文科目", "自定义…", "语文时间", "10:00");
    EXPECT_EQ(controls().text("语文科目"), "美术");
    EXPECT_EQ(sim.formLog().size(), 3u);
    ASSERT_GE(sim.messageLog().size(), 3u);
    EXPECT_EQ(sim.messageLog()[1].text, "科目名称最多8个字");
    EXPECT_EQ(sim.messageLog()[2].text, "考试时长应在30到300分钟之间");

    sim.setFormResponder([](const auto&, auto&) { return std::nullopt; }); // cancelled
    ASSERT_TRUE(sim.choose("数学科目", "自定义…"));
    EXPECT_EQ(controls().text("数学科目"), "文数/理数");

    saveAndStart();
    EXPECT_EQ(controls().text("语文结束"), "结束时间为11:30");
    sim.advanceToTime(11, 31);
    const std::vector<RowAndTime> all = promptsHeard();
    ASSERT_GE(all.size(), 2u);
    const std::vector<RowAndTime> ends(all.end() - 2, all.end());
    EXPECT_EQ(ends, (std::vector<RowAndTime>{{7, "11:15"}, {8, "11:30"}}));
    endTheDay();

    // The next start: the row holds 美术 again, with its 90 minutes.
    const auto again = startAgain({2026, 6, 10, 7, 0, 0, 0}, "again");
    EXPECT_EQ(again->program.controls().text("语文科目"), "美术");
    EXPECT_EQ(again->program.controls().text("语文时间"), "10:00");
    EXPECT_EQ(again->program.finish(), 0);
}

// A file saved by an earlier version (or none at all) meets exactly the window and schedule it
// always met, and a save with the rows at their own subjects writes the file byte for byte as
// before.
TEST_F(AnyExamDay, AnEarlierVersionsFileAndNoFileChangeNothing) {
    placeVoiceFiles();
    const std::string earlier =
        "[时间设置]\r\n语文时间=09:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r\n";
    writeIni(earlier);
    startWithRecorder();
    EXPECT_TRUE(sim.messageLog().empty());
    for (const auto& [list, subject] : {std::pair{"语文科目", "语文"}, std::pair{"数学科目", "文数/理数"},
                                        std::pair{"综合科目", "文综/理综"}, std::pair{"英语科目", "英语"}})
        EXPECT_EQ(controls().text(list), subject);
    sim.tick("语文");
    sim.tick("英语");
    saveAndStart();
    EXPECT_EQ(platform::gbkToUtf8(fileBytes("vanto.ini")), earlier);
    sim.advanceToTime(17, 1);
    EXPECT_EQ(promptsHeard().size(), 16u);
    endTheDay();

    std::filesystem::remove(programFile("vanto.ini"));
    const auto first = startAgain({2026, 6, 10, 7, 0, 0, 0}, "fresh");
    ASSERT_EQ(first->sim.messageLog().size(), 1u);
    EXPECT_EQ(first->sim.messageLog()[0].text, "您是第一次使用，请先编辑好时间");
    first->program.controls().setTicked("语文", true);
    first->sim.click("按钮1");
    EXPECT_EQ(platform::gbkToUtf8(fileBytes("vanto.ini")), earlier) << "the first save writes what it always wrote";
    EXPECT_EQ(first->program.finish(), 0);
}

// A prepared timetable: started on one of its dates, the program fills that day's rows, ticked,
// the first subject's first prompt as early as the day says; on another date nothing changes;
// faulty lines are named once, and the rest of the file still loads and stays as it was.
TEST_F(AnyExamDay, APreparedTimetableFillsItsDays) {
    placeVoiceFiles();
    const std::string prepared =
        "[时间设置]\r\n语文时间=09:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r\n"
        "[2026-06-09]\r\n提前入场=30\r\n化学=08:30\r\n地理=11:00\r\n思想政治=14:30\r\n生物=17:00\r\n"
        "[2026-06-10]\r\n美术=10:00 90\r\n体育=\r\n"
        "[2026-13-01]\r\n语文=09:00\r\n";
    writeIni(prepared);
    startWithRecorder();
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_NE(sim.messageLog()[0].text.find("第14行"), std::string::npos) << sim.messageLog()[0].text;
    EXPECT_NE(sim.messageLog()[0].text.find("第15行"), std::string::npos) << sim.messageLog()[0].text;
    for (const auto& [box, list, subject, time] :
         {std::tuple{"语文", "语文科目", "化学", "08:30"}, std::tuple{"数学", "数学科目", "地理", "11:00"},
          std::tuple{"综合", "综合科目", "思想政治", "14:30"}, std::tuple{"英语", "英语科目", "生物", "17:00"}}) {
        EXPECT_TRUE(controls().ticked(box)) << box;
        EXPECT_EQ(controls().text(list), subject);
        EXPECT_EQ(controls().text(std::string(box) + "时间"), time);
    }
    sim.click("按钮1");
    sim.click("按钮2");
    sim.advanceToTime(8, 6);
    ASSERT_FALSE(promptsHeard().empty());
    EXPECT_EQ(promptsHeard()[0], (RowAndTime{1, "08:00"}))
        << "candidates enter 30 minutes before the day's first session";
    endTheDay();
    EXPECT_NE(
        platform::gbkToUtf8(fileBytes("vanto.ini")).find("[2026-06-10]\r\n美术=10:00 90\r\n体育=\r\n[2026-13-01]"),
        std::string::npos)
        << "the days stay as the office wrote them";

    const auto second = startAgain({2026, 6, 10, 7, 0, 0, 0}, "day 2");
    EXPECT_EQ(second->program.controls().text("语文科目"), "美术");
    EXPECT_EQ(second->program.controls().text("语文时间"), "10:00");
    EXPECT_FALSE(second->program.controls().ticked("数学"));
    EXPECT_EQ(second->program.finish(), 0);

    const auto third = startAgain({2026, 6, 11, 7, 0, 0, 0}, "day 3");
    EXPECT_FALSE(third->program.controls().ticked("语文"));
    EXPECT_EQ(third->program.controls().text("语文时间"), "08:30") << "the times the last save wrote, as always";
    EXPECT_EQ(third->program.finish(), 0);
}

} // namespace
} // namespace vostrel::test

// The prepared timetable as an exam office writes it in Notepad: a whole week read exactly, every
// kind of mistake named once with its line while the entries around it still load, and the one
// message a teacher sees at start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/timetable_file.h"
#include "tests/settings/timetable_description.h"

namespace vostrel::settings {
namespace {

using settings_test::describeDays;
using settings_test::describeProblems;

TEST(TimetableFile, ReadsAWholeWeekAsNotepadLeavesIt) {
    const std::string file = "; 全校第二次模拟考试\r\n"                           // 1
                             "# 教务处 6月1日\r\n"                                // 2
                             "[时间设置]\r\n"                                     // 3
                             "语文时间=09:00\r\n"                                 // 4
                             "英语时间=15:00\r\n"                                 // 5
                             "\r\n"                                               // 6
                             "[2026-06-07]\r\n"                                   // 7
                             "提前入场 = 30\r\n"                                  // 8
                             "语文=09:00\r\n"                                     // 9
                             "数学=15:00\n"                                       // 10
                             "\n"                                                 // 11
                             "  [ 2026/6/8 ]\r"                                   // 12
                             "物理=09:00\r"                                       // 13
                             "; 历史和物理同时开考\r"                             // 14
                             "外语 = 15:00\r"                                     // 15
                             "[2026.6.9]\n"                                       // 16
                             "化学=8:30\n"                                        // 17
                             "地理=11:00\r\n"                                     // 18
                             "思想政治=14:30\n"                                   // 19
                             "生物=17:00\t\n"                                     // 20
                             "【２０２６年６月１０日】\n"                         // 21
                             "\xE3\x80\x80美术＝１４：３０\xE3\x80\x80９０分钟\n" // 22
                             "语文=08:00 120\n"                                   // 23
                             "文数／理数=10:30\n"                                 // 24
                             "[2028-2-29]\n"                                      // 25
                             "书法=07:05 45";                                     // 26, no line end
    const Timetable timetable = readTimetable(file);
    EXPECT_EQ(describeProblems(timetable), "");
    EXPECT_EQ(describeDays(timetable),
              (std::vector<std::string>{
                  "2026-06-07 第7行 提前30： 语文150@09:00 数学120@15:00",
                  "2026-06-08 第12行 提前25： 物理75@09:00 外语120@15:00",
                  "2026-06-09 第16行 提前25： 化学75@08:30 地理75@11:00 思想政治75@14:30 生物75@17:00",
                  "2026-06-10 第21行 提前25： 美术90@14:30 语文120@08:00 文数/理数120@10:30",
                  "2028-02-29 第25行 提前25： 书法45@07:05",
              }));
    const TimetableDay* day = timetableDayOf(timetable, {2026, 6, 9});
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->line, 16);
    EXPECT_EQ(timetableDayOf(timetable, {2026, 6, 11}), nullptr);
    EXPECT_EQ(timetableProblemsMessage(timetable.problems), "");
}

struct Expected {
    int line;
    std::string text;
    std::string advice; // a part of what the teacher is told
};

// A file with every kind of mistake, each on a line of its own among good ones.
const std::string kFileWithMistakes = "语文=09:00\n"                  // 1 before any date
                                      "[2026-06-07]\n"                // 2
                                      "语文=09:00\n"                  // 3
                                      "美术=14:30\n"                  // 4 custom without length
                                      "美术=14:30 20\n"               // 5 too short
                                      "数学=15:00\n"                  // 6
                                      "化学=8点30\n"                  // 7 no time
                                      "物理=25:00\n"                  // 8 no such hour
                                      "化学 16:00\n"                  // 9 no "="
                                      "提前入场=20\n"                 // 10 lead too short
                                      "提前入场=30\n"                 // 11
                                      "提前入场=35\n"                 // 12 second lead
                                      "地理=16:30\n"                  // 13
                                      "生物=17:00\n"                  // 14
                                      "历史=18:00\n"                  // 15 fifth subject
                                      "[6月8日]\n"                    // 16 no year
                                      "物理=09:00\n"                  // 17 in a section left out
                                      "[2026-02-30]\n"                // 18 no such day
                                      "化学=08:30\n"                  // 19
                                      "[2026-06-07]\n"                // 20 the date again
                                      "化学=08:30\n"                  // 21
                                      "[2026-06-08\n"                 // 22 unclosed
                                      "外语=15:00\n"                  // 23
                                      "[2026-06-09]\n"                // 24
                                      "2026-06-10\n"                  // 25 a date without brackets
                                      "=09:00\n"                      // 26 no name
                                      "语文=\n"                       // 27 no start
                                      "信息技术与通用技术=09:00 60\n" // 28 name too long
                                      "语文=09:00 abc\n"              // 29 not a length
                                      "英语=09:00 400\n"              // 30 too long
                                      "化学=08:30\n"                  // 31
                                      "[2000-02-29] 地理=08:00\n"     // 32 a subject beside the date
                                      "地理=08:00\n"                  // 33
                                      "[2026-13-05]\n"                // 34 no such month
                                      "[2100-02-29]\n"                // 35 not a leap year
                                      "[2026-06-10]\n"                // 36
                                      "提前入场=40\n";                // 37 one lead a day, not one a file

// Each mistake's line, its text and a part of what the teacher is told.
const std::vector<Expected> kMistakes{
    {1, "语文=09:00", "[2026-06-09]"},
    {4, "美术=14:30", "美术=14:30 90"},
    {5, "美术=14:30 20", "30到300分钟"},
    {7, "化学=8点30", "08:30"},
    {8, "物理=25:00", "0到23"},
    {9, "化学 16:00", "等号"},
    {10, "提前入场=20", "25到60"},
    {12, "提前入场=35", "第11行"},
    {15, "历史=18:00", "最多4科"},
    {16, "[6月8日]", "2026-06-09"},
    {18, "[2026-02-30]", "2月没有30日"},
    {20, "[2026-06-07]", "已经写过（第2行），这一段没有读入"},
    {22, "[2026-06-08", "右方括号"},
    {25, "2026-06-10", "方括号"},
    {26, "=09:00", "科目名称"},
    {27, "语文=", "语文=08:30"},
    {28, "信息技术与通用技术=09:00 60", "8个字"},
    {29, "语文=09:00 abc", "考试时长"},
    {30, "英语=09:00 400", "30到300分钟"},
    {32, "[2000-02-29] 地理=08:00", "另起一行"},
    {34, "[2026-13-05]", "没有13月"},
    {35, "[2100-02-29]", "2月没有29日"},
};

TEST(TimetableFile, NamesEveryMistakeOnceAndKeepsTheEntriesAroundIt) {
    const Timetable timetable = readTimetable(kFileWithMistakes);
    EXPECT_EQ(describeDays(timetable),
              (std::vector<std::string>{
                  "2026-06-07 第2行 提前30： 语文150@09:00 数学120@15:00 地理75@16:30 生物75@17:00",
                  "2026-06-09 第24行 提前25： 化学75@08:30",
                  "2000-02-29 第32行 提前25： 地理75@08:00",
                  "2026-06-10 第36行 提前40：",
              }));
    const std::vector<Expected>& expected = kMistakes;
    ASSERT_EQ(timetable.problems.size(), expected.size()) << describeProblems(timetable);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TimetableProblem& got = timetable.problems[i];
        EXPECT_EQ(got.line, expected[i].line) << got.text;
        EXPECT_EQ(got.text, expected[i].text);
        EXPECT_NE(got.wrong.find(expected[i].advice), std::string::npos) << got.line << ": " << got.wrong;
    }
}

TEST(TimetableFile, MessageNamesEachLineLeftOutAndStaysShortWhenThereAreMany) {
    const Timetable two = readTimetable("[2026-06-09]\r\n化学=8.30\r\n地理=11:00\r\n[2026-13-05]\r\n");
    EXPECT_EQ(timetableProblemsMessage(two.problems),
              "vanto.ini 里的考试安排有 2 处写得不对，这几行没有用上，其余的已经读入：\n"
              "第2行“化学=8.30”：时间写法不对，请写成 08:30 这样\n"
              "第4行“[2026-13-05]”：没有13月，请核对日期，这一段没有读入\n"
              "请用记事本打开 vanto.ini 改正后重新打开程序。");

    std::string file = "[2026-06-09]\n";
    const std::string longName = "这是一行写得非常非常长的说明文字而不是科目名称，老师不小心把整段通知都粘贴进来了";
    for (int i = 0; i < 12; ++i) file += longName + "\n";
    const std::vector<TimetableProblem> many = readTimetable(file).problems;
    ASSERT_EQ(many.size(), 12u);
    const std::string message = timetableProblemsMessage(many);
    EXPECT_TRUE(message.starts_with("vanto.ini 里的考试安排有 12 处写得不对")) << message;
    EXPECT_NE(message.find("第11行“"), std::string::npos) << message;
    EXPECT_EQ(message.find("第12行“"), std::string::npos) << message;
    EXPECT_NE(message.find("\n……还有 2 处\n请用记事本打开 vanto.ini 改正后重新打开程序。"), std::string::npos)
        << message;
    EXPECT_EQ(message.find(longName), std::string::npos) << "a long line is shortened";
    EXPECT_NE(message.find("老师不小心把…”"), std::string::npos) << message;
}

} // namespace
} // namespace vostrel::settings

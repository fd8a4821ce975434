// The operator's documents say what the program does: the user guide and the help page show the
// texts the voice prompts speak, name the prompt moments as the sound check does, the
// guide's timetable gives the minutes at which the schedule plays each prompt, and its example
// of a prepared timetable is the national one as the program reads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "audio/play_outcome.h"
#include "record/record_writer.h"
#include "schedule/exam_subject.h"
#include "schedule/prompt_moment.h"
#include "schedule/prompt_table.h"
#include "schedule/subjects.h"
#include "settings/end_time.h"
#include "settings/settings_file.h"
#include "settings/subject_settings.h"
#include "settings/timetable_file.h"
#include "tests/settings/timetable_description.h"

namespace vostrel::settings {
namespace {

std::string sourceFile(const std::string& path) {
    std::ifstream in(std::string(VOSTREL_SOURCE_DIR) + "/" + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "| a | b |" → {"a", "b"}
std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::size_t at = row.find('|');
    while (at != std::string::npos) {
        const std::size_t next = row.find('|', at + 1);
        if (next == std::string::npos) break;
        std::string cell = row.substr(at + 1, next - at - 1);
        cell.erase(0, cell.find_first_not_of(' '));
        cell.erase(cell.find_last_not_of(' ') + 1);
        cells.push_back(cell);
        at = next;
    }
    return cells;
}

std::string clock(int minuteOfDay) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    return text;
}

// The minute of day at which the schedule plays `row` for a subject typed as `start`.
int promptMinute(const schedule::PromptRow& row, const std::string& start, int examMinutes) {
    const auto pieces = acceptStartTime(start);
    EXPECT_TRUE(pieces) << start;
    if (!pieces) return -1;
    int reference = std::stoi(pieces->hour) * 60 + std::stoi(pieces->minute);
    if (row.reference == schedule::PromptReference::End) {
        const EndTexts end = deriveEndTime(*pieces, examMinutes);
        reference = std::stoi(end.hour) * 60 + std::stoi(end.minute);
    }
    return reference - row.minutesBefore;
}

// The lines of the first fenced block (its opening fence starting with `fence`) after the
// line `heading`, each ended by "\n"; empty when there is none.
std::string fencedBlockAfter(const std::vector<std::string>& lines, const std::string& heading,
                             const std::string& fence) {
    std::size_t at = 0;
    while (at < lines.size() && lines[at] != heading) ++at;
    while (at < lines.size() && !lines[at].starts_with(fence)) ++at;
    std::string block;
    for (++at; at < lines.size() && !lines[at].starts_with("```"); ++at) block += lines[at] + "\n";
    return block;
}

TEST(UserDocs, GuideAndHelpPageShowWhatEveryPromptSays) {
    const std::string guide = sourceFile("docs/user-guide.zh.md");
    const std::string help = sourceFile("help/voice-files.html");
    int texts = 0;
    for (const std::string& line : linesOf(sourceFile("assets/prompts.zh.txt"))) {
        if (line.empty() || line[0] < '0' || line[0] > '8') continue;
        const std::string text = line.substr(line.find(' ') + 1);
        EXPECT_NE(guide.find(text), std::string::npos) << "the guide lacks: " << text;
        EXPECT_NE(help.find(text), std::string::npos) << "the help page lacks: " << text;
        ++texts;
    }
    EXPECT_EQ(texts, 9); // "各位考生请注意" and the eight prompts
    for (std::size_t n = 1; n <= schedule::kPromptTable.size(); ++n) {
        const std::string moment = schedule::promptMomentText(schedule::kPromptTable[n - 1]);
        const std::string file = std::to_string(n) + "speak.mp3";
        EXPECT_NE(help.find("<code>" + file + "</code></td><td>" + moment + "</td>"), std::string::npos) << file;
        EXPECT_NE(guide.find("| " + std::to_string(n) + " | " + moment + " | "), std::string::npos) << file;
    }
}

TEST(UserDocs, GuideTimetableGivesTheMinutesTheScheduleFires) {
    const std::vector<std::string> lines = linesOf(sourceFile("docs/user-guide.zh.md"));
    std::size_t header = 0;
    while (header < lines.size() && !lines[header].starts_with("| 第几条 | 什么时候 | 语文 ")) ++header;
    ASSERT_LT(header + 2 + schedule::kPromptTable.size(), lines.size()) << "no timetable in the guide";
    // Columns from the third on: "<subject> <start> 开考".
    std::map<std::size_t, std::pair<int, std::string>> columns; // exam minutes, start
    const std::vector<std::string> titles = cellsOf(lines[header]);
    for (std::size_t column = 2; column < titles.size(); ++column) {
        std::istringstream words(titles[column]);
        std::string caption, start;
        words >> caption >> start;
        const std::optional<int> minutes = schedule::standardMinutes(caption);
        ASSERT_TRUE(minutes) << titles[column];
        columns[column] = {*minutes, start};
    }
    EXPECT_EQ(columns.size(), schedule::kRowDefaults.size());
    for (std::size_t n = 1; n <= schedule::kPromptTable.size(); ++n) {
        const auto& row = schedule::kPromptTable[n - 1];
        const std::vector<std::string> cells = cellsOf(lines[header + 1 + n]);
        ASSERT_EQ(cells.size(), titles.size()) << lines[header + 1 + n];
        EXPECT_EQ(cells[0], std::to_string(n));
        EXPECT_EQ(cells[1], schedule::promptMomentText(row));
        for (const auto& [column, subject] : columns) {
            EXPECT_EQ(cells[column], clock(promptMinute(row, subject.second, subject.first)))
                << "prompt " << n << ", " << titles[column];
        }
    }
}

TEST(UserDocs, GuideExampleOfAPreparedTimetableIsTheNationalOne) {
    const std::vector<std::string> lines = linesOf(sourceFile("docs/user-guide.zh.md"));
    const std::string example = fencedBlockAfter(lines, "## 为全校准备考试安排", "```ini");
    const Timetable timetable = readTimetable(example);
    EXPECT_EQ(settings_test::describeProblems(timetable), "");
    // The 3+1+2 exam: day one 语文 and 数学 (with the longer entry), day two 物理 (历史 at the same
    // time) and 外语, day three the other four choices.
    std::vector<std::string> days = settings_test::describeDays(timetable);
    for (std::string& day : days) { // where a day starts in the example does not matter here
        const std::size_t from = day.find(" 第"), to = day.find(" 提前");
        day.erase(from, to - from);
    }
    EXPECT_EQ(days, (std::vector<std::string>{
                        "2026-06-07 提前30： 语文150@09:00 数学120@15:00",
                        "2026-06-08 提前25： 物理75@09:00 外语120@15:00",
                        "2026-06-09 提前25： 化学75@08:30 地理75@11:00 思想政治75@14:30 生物75@17:00",
                    }));
    // The file as the program leaves it, with the times it saves, and the days added below.
    // (Appended, not `"[" + std::string(...)`: GCC 12 at -O3 warns of an overlap that cannot be.)
    EXPECT_TRUE(example.starts_with(std::string("[").append(kSettingsSection).append("]\n"))) << example;
    for (const RowSettings& row : kRowSettings)
        EXPECT_NE(example.find(std::string("\n").append(row.key).append("=")), std::string::npos) << row.key;
    // The section names every subject a row can hold as the list spells it.
    const std::string guide = sourceFile("docs/user-guide.zh.md");
    const std::size_t section = guide.find("## 为全校准备考试安排");
    const std::string sectionText = guide.substr(section, guide.find("\n## ", section) - section);
    for (const schedule::StandardSubject& subject : schedule::kStandardSubjects)
        EXPECT_NE(sectionText.find(subject.name), std::string::npos) << subject.name;
    // The mistake the guide shows gives the message it shows.
    const std::string right = "化学=08:30", wrong = "化学=8.30";
    std::string mistaken = example;
    ASSERT_NE(mistaken.find(right), std::string::npos);
    mistaken.replace(mistaken.find(right), right.size(), wrong);
    std::string message = fencedBlockAfter(lines, "### 写错了会怎样", "```");
    ASSERT_FALSE(message.empty());
    message.pop_back();
    EXPECT_EQ(timetableProblemsMessage(readTimetable(mistaken).problems), message);
}

// The guide's section on the record names its file and every way a prompt can end as the record
// writes it, and the table of lengths gives every subject the length the rows give it.
TEST(UserDocs, GuideExplainsTheRecordAndTheLengths) {
    const std::string guide = sourceFile("docs/user-guide.zh.md");
    const std::size_t section = guide.find("## 播放记录");
    ASSERT_NE(section, std::string::npos);
    const std::string record = guide.substr(section, guide.find("\n## ", section + 1) - section);
    EXPECT_NE(record.find(std::string(record::kRecordFileName)), std::string::npos);
    for (int end = static_cast<int>(audio::PromptEnd::PlayedToEnd);
         end <= static_cast<int>(audio::PromptEnd::DamagedFrame); ++end)
        EXPECT_NE(record.find(std::string(audio::promptEndText(static_cast<audio::PromptEnd>(end)))), std::string::npos)
            << audio::promptEndText(static_cast<audio::PromptEnd>(end));
    // "| 数学、外语、英语 | 120 分钟 |": each subject's row of the table gives its length.
    std::map<std::string, int> lengths;
    for (const std::string& line : linesOf(guide)) {
        const std::vector<std::string> cells = cellsOf(line);
        if (cells.size() != 2 || !cells[1].ends_with(" 分钟")) continue;
        for (std::size_t from = 0; from <= cells[0].size();) {
            const std::size_t end = std::min(cells[0].find("、", from), cells[0].size());
            lengths[cells[0].substr(from, end - from)] = std::stoi(cells[1]);
            from = end + std::string("、").size();
        }
    }
    for (const schedule::StandardSubject& subject : schedule::kStandardSubjects)
        EXPECT_EQ(lengths[std::string(subject.name)], subject.minutes) << subject.name;
}

} // namespace
} // namespace vostrel::settings

#pragma once
// The prompts of one exam as moments of the calendar: the eight rows of the prompt table for a
// row's saved times on the date the exam starts. A prompt is known by its exam (subject, start
// time, date) and its row, so it can sound at most once, whatever the clock or the operator does.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/calendar.h"
#include "schedule/prompt_table.h"
#include "schedule/subject_times.h"
#include "schedule/subjects.h"

namespace vostrel::schedule {

struct PromptKey {
    std::string subject;
    std::string start; // "09:00"
    CalendarDate date; // of the exam's start
    int row = 0;       // 1..8, the prompt table's row
    auto operator<=>(const PromptKey&) const = default;
};

struct ExamPrompt {
    Subject windowRow;   // the main window's row that holds the exam
    int row = 0;         // 1..8
    std::int64_t moment; // the start of the prompt's minute (calendar.h)
    int minutesBefore;   // before the start (rows 1-6) or the end (rows 7, 8)
    PromptKey key;
};

// The exam's prompts in table order. None without saved times. A prompt before the start comes
// only on the exam's own date (one that would fall before its midnight never sounds); one before
// the end may fall on the next day, when the exam runs past midnight.
std::vector<ExamPrompt> examPrompts(Subject windowRow, const SubjectTimes& times, CalendarDate date);

// "开考前25分钟", "开考时", "结束前15分钟", "考试结束时".
std::string momentText(const ExamPrompt& prompt);
// "第1条 开考前25分钟"; the record reads the number back between these two.
inline constexpr std::string_view kPromptNumberPrefix = "第";
inline constexpr std::string_view kPromptNumberSuffix = "条";
std::string promptTitle(const ExamPrompt& prompt);
// The prompt's row of the prompt table.
const PromptRow& tableRowOf(const ExamPrompt& prompt);
// The voice file of the prompt's row, as it is appended to the program directory.
std::string_view voiceFileOf(const ExamPrompt& prompt);

} // namespace vostrel::schedule

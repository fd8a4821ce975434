#include "schedule/exam_prompts.h"

#include "schedule/prompt_moment.h"
#include "schedule/to_integer.h"

namespace vostrel::schedule {
namespace {

constexpr int kMinutesPerDay = 24 * 60;

bool hasTimes(const SubjectTimes& t) {
    return !t.startHour.empty() && !t.startMinute.empty() && !t.endHour.empty() && !t.endMinute.empty();
}

int minutesOf(const std::string& hour, const std::string& minute) {
    return static_cast<int>(static_cast<std::int64_t>(toInteger(hour)) * 60 + toInteger(minute));
}

// The prompt's minute counted from the exam date's midnight, or -1 when it never sounds.
int minuteOfPrompt(const PromptRow& row, int minutesBefore, int start, int end) {
    if (row.reference == PromptReference::Start) {
        const int minute = start - minutesBefore;
        return minute >= 0 && minute < kMinutesPerDay ? minute : -1;
    }
    const int minute = end - minutesBefore;
    return minute >= 0 && minute < 2 * kMinutesPerDay ? minute : -1;
}

} // namespace

std::vector<ExamPrompt> examPrompts(Subject windowRow, const SubjectTimes& times, CalendarDate date) {
    std::vector<ExamPrompt> prompts;
    if (!hasTimes(times)) return prompts;
    const int start = minutesOf(times.startHour, times.startMinute);
    const int end = minutesOf(times.endHour, times.endMinute);
    const std::string startText = minuteText(start);
    for (std::size_t i = 0; i < kPromptTable.size(); ++i) {
        const PromptRow& row = kPromptTable[i];
        const int minutesBefore = i == 0 ? times.firstPromptLead : row.minutesBefore;
        const int minute = minuteOfPrompt(row, minutesBefore, start, end);
        if (minute < 0) continue;
        const int number = static_cast<int>(i) + 1;
        prompts.push_back({windowRow, number, midnightOf(date) + minute * 60LL, minutesBefore,
                           PromptKey{times.subject.name, startText, date, number}});
    }
    return prompts;
}

const PromptRow& tableRowOf(const ExamPrompt& prompt) { return kPromptTable[static_cast<std::size_t>(prompt.row - 1)]; }

std::string momentText(const ExamPrompt& prompt) {
    return promptMomentText(tableRowOf(prompt).reference, prompt.minutesBefore);
}

std::string promptTitle(const ExamPrompt& prompt) {
    return std::string(kPromptNumberPrefix) + std::to_string(prompt.row) + std::string(kPromptNumberSuffix) + " " +
           momentText(prompt);
}

std::string_view voiceFileOf(const ExamPrompt& prompt) { return tableRowOf(prompt).voiceFile; }

} // namespace vostrel::schedule

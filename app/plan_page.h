#pragma once
// The invigilators' plan page: every prompt of the day's ticked exams in time order, with its time
// and its words, printed large on one A4 page for a normal day. It is their card when the sound
// fails: they read the prompt out at its time. Written beside the record after every accepted
// save and opened in the browser by 按钮7.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/shell.h"
#include "record/record_writer.h"
#include "schedule/exam_prompts.h"
#include "schedule/subject_times.h"

namespace vostrel::app {

inline constexpr std::string_view kPlanPageFileName = "考务提示安排.html";

using PromptWords = std::array<std::string, schedule::kPromptTable.size()>;

// The first sentence of each prompt, from the prompts' texts ("N text" lines, as compiled in).
PromptWords promptWords(std::string_view promptTexts);

// The page for the prompts (in time order) of the exams of `date`.
std::string planPageHtml(schedule::CalendarDate date, const std::vector<schedule::ExamPrompt>& prompts,
                         const PromptWords& words);

struct PlanContext {
    platform::Controls& controls;
    platform::Clock& clock;
    platform::Shell& shell;
    const schedule::SubjectTimesTable& times;
    record::RecordWriter& writer;
    PromptWords words;
    std::string pagePath;
};

// After every accepted save: today's prompts of the ticked rows, written on the writer's thread.
void writePlanPage(PlanContext& context);
// Click of 按钮7: the page written afresh, then opened (waiting at most a second for the disk).
void openPlanPage(PlanContext& context);

} // namespace vostrel::app

#pragma once
// How an operator names the moment a prompt sounds: "开考前25分钟", "开考时", "结束前15分钟",
// "考试结束时". Made from the prompt table, so the names follow it.
#include <string>

#include "schedule/prompt_table.h"

namespace vostrel::schedule {

inline std::string promptMomentText(PromptReference reference, int minutesBefore) {
    const bool start = reference == PromptReference::Start;
    if (minutesBefore == 0) return start ? "开考时" : "考试结束时";
    return std::string(start ? "开考前" : "结束前") + std::to_string(minutesBefore) + "分钟";
}

inline std::string promptMomentText(const PromptRow& row) { return promptMomentText(row.reference, row.minutesBefore); }

} // namespace vostrel::schedule

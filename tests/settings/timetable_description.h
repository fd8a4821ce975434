#pragma once
// A read timetable as text, one line per day, so that a failing comparison shows the whole day:
// "2026-06-07 第7行 提前30： 语文150@09:00 数学120@15:00".
#include <cstdio>
#include <string>
#include <vector>

#include "settings/timetable_file.h"

namespace vostrel::settings_test {

inline std::vector<std::string> describeDays(const settings::Timetable& timetable) {
    std::vector<std::string> days;
    for (const settings::TimetableDay& day : timetable.days) {
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.date.year, day.date.month, day.date.day);
        std::string text = std::string(date) + " 第" + std::to_string(day.line) + "行 提前" +
                           std::to_string(day.firstPromptLead) + "：";
        for (const settings::TimetableSubject& s : day.subjects)
            text += " " + s.subject.name + std::to_string(s.subject.minutes) + "@" + s.start;
        days.push_back(text);
    }
    return days;
}

// Every problem as "line “text”：wrong", one a line.
inline std::string describeProblems(const settings::Timetable& timetable) {
    std::string text;
    for (const settings::TimetableProblem& p : timetable.problems)
        text += std::to_string(p.line) + " “" + p.text + "”：" + p.wrong + "\n";
    return text;
}

} // namespace vostrel::settings_test

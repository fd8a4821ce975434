#pragma once
// A prepared timetable in the settings file: an exam office writes the rows of several dated
// days into vanto.ini (with Notepad) and copies the file to every classroom PC; started on one of
// those dates, the program fills that day's rows before the window appears. Each day is a section
// named by its date, each subject a line "name=start" or "name=start minutes":
//
//   [2026-06-09]
//   提前入场=30
//   化学=08:30
//   地理=11:00
//   美术=14:30 90
//
// - Dates: 2026-06-09, 2026-6-9, 2026/6/9, 2026.6.9 or 2026年6月9日 (full-width digits too).
//   The section 时间设置 (the four times the save writes) is not a day and is left alone.
// - A standard subject takes its national length unless the line gives minutes; a subject of
//   the school's own must give them. Lengths 30 to 300 minutes; names as for the window's rows.
// - Start times hh:mm, hour 0-23, minute 0-59 (a full-width colon or digits are read too).
// - 提前入场=N (N from 25 to 60): the day's first subject (the earliest start) sounds its first
//   prompt N minutes before its start instead of 25.
// - At most four subjects a day, in the order of the window's rows.
// - Blank lines and lines starting with ";" or "#" are skipped; line ends CR LF, LF or CR.
// Every entry that breaks a rule is left out and named in a problem (its line and what is
// wrong); every other entry is used. Nothing here writes the file.
#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/exam_subject.h"
#include "schedule/subject_times.h"

namespace vostrel::settings {

struct ExamDate {
    int year = 0, month = 0, day = 0;
    auto operator<=>(const ExamDate&) const = default;
};

struct TimetableSubject {
    schedule::ExamSubject subject;
    std::string start; // "hh:mm", zero-filled
};

struct TimetableDay {
    ExamDate date;
    int line = 0;                                     // of the section's header, counted from 1
    int firstPromptLead = schedule::kFirstPromptLead; // minutes before the first subject's start for its first prompt
    std::vector<TimetableSubject> subjects;           // at most four, in file order
};

struct TimetableProblem {
    int line = 0;      // counted from 1
    std::string text;  // the line as written, trimmed
    std::string wrong; // what is wrong, for a teacher, e.g. "日期写法认不出，请写成 2026-06-09 这样"
};

struct Timetable {
    std::vector<TimetableDay> days; // file order; a date appears once (the first section wins)
    std::vector<TimetableProblem> problems;
};

inline constexpr int kLatestFirstPromptLead = 60;
inline constexpr std::size_t kDaySubjectLimit = 4;

// The settings file's text, already converted from GBK to UTF-8.
Timetable readTimetable(std::string_view utf8Text);

// The day of that date, or null.
const TimetableDay* timetableDayOf(const Timetable& timetable, ExamDate date);

// The one message shown at start when the file has problems: which lines were left out and why,
// and that the rest was read.
std::string timetableProblemsMessage(const std::vector<TimetableProblem>& problems);

} // namespace vostrel::settings

// The prepared timetable's reader on any text: every day it gives can fill the window's rows
// as it stands (a real date once, at most four subjects, usable names, lengths, leads and
// "hh:mm" starts), every problem points at a line of the text, and how the lines end (CR LF,
// LF or CR) changes nothing.
#include <algorithm>
#include <chrono>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "schedule/exam_subject.h"
#include "settings/timetable_file.h"

namespace vostrel::fuzz {

namespace {

using settings::Timetable;
using settings::TimetableDay;
using settings::TimetableProblem;
using settings::TimetableSubject;

std::string replacedAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string replaced;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from)) {
        replaced.append(text.substr(0, at)).append(to);
        text.remove_prefix(at + from.size());
    }
    return replaced.append(text);
}

std::string withLfLineEnds(std::string_view text) { return replacedAll(replacedAll(text, "\r\n", "\n"), "\r", "\n"); }

int lineCount(const std::string& lfText) {
    if (lfText.empty()) return 0;
    const auto ends = std::count(lfText.begin(), lfText.end(), '\n');
    return static_cast<int>(ends) + (lfText.back() == '\n' ? 0 : 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isClockTime(const std::string& start) {
    if (start.size() != 5 || start[2] != ':') return false;
    if (!isDigit(start[0]) || !isDigit(start[1]) || !isDigit(start[3]) || !isDigit(start[4])) return false;
    return std::stoi(start.substr(0, 2)) <= 23 && std::stoi(start.substr(3, 2)) <= 59;
}

bool isCalendarDay(settings::ExamDate date) {
    using namespace std::chrono;
    return year_month_day{year{date.year}, month{static_cast<unsigned>(date.month)},
                          day{static_cast<unsigned>(date.day)}}
        .ok();
}

void checkSubject(const TimetableSubject& s) {
    FUZZ_EXPECT(!schedule::customSubjectProblem(s.subject.name, s.subject.minutes));
    FUZZ_EXPECT(isClockTime(s.start));
}

void checkDays(const Timetable& timetable, int lines) {
    int previousLine = 0;
    for (const TimetableDay& day : timetable.days) {
        FUZZ_EXPECT(isCalendarDay(day.date));
        FUZZ_EXPECT(settings::timetableDayOf(timetable, day.date) == &day); // each date once
        FUZZ_EXPECT(day.line > previousLine && day.line <= lines);
        previousLine = day.line;
        FUZZ_EXPECT(day.firstPromptLead >= schedule::kFirstPromptLead &&
                    day.firstPromptLead <= settings::kLatestFirstPromptLead);
        FUZZ_EXPECT(day.subjects.size() <= settings::kDaySubjectLimit);
        for (const TimetableSubject& s : day.subjects) checkSubject(s);
    }
}

void checkProblems(const Timetable& timetable, int lines) {
    int previousLine = 1;
    for (const TimetableProblem& p : timetable.problems) {
        FUZZ_EXPECT(p.line >= previousLine && p.line <= lines); // in file order, on a line of the text
        previousLine = p.line;
        FUZZ_EXPECT(!p.wrong.empty());
        FUZZ_EXPECT(p.text.find_first_of("\r\n") == std::string::npos);
    }
    FUZZ_EXPECT(settings::timetableProblemsMessage(timetable.problems).empty() == timetable.problems.empty());
}

bool sameDays(const TimetableDay& a, const TimetableDay& b) {
    if (a.date != b.date || a.line != b.line || a.firstPromptLead != b.firstPromptLead) return false;
    return std::equal(a.subjects.begin(), a.subjects.end(), b.subjects.begin(), b.subjects.end(),
                      [](const TimetableSubject& x, const TimetableSubject& y) {
                          return x.subject == y.subject && x.start == y.start;
                      });
}

bool sameProblems(const TimetableProblem& a, const TimetableProblem& b) {
    return a.line == b.line && a.text == b.text && a.wrong == b.wrong;
}

bool sameTimetables(const Timetable& a, const Timetable& b) {
    return std::equal(a.days.begin(), a.days.end(), b.days.begin(), b.days.end(), sameDays) &&
           std::equal(a.problems.begin(), a.problems.end(), b.problems.begin(), b.problems.end(), sameProblems);
}

} // namespace

int timetable(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Timetable read = settings::readTimetable(text);
    const std::string lfText = withLfLineEnds(text);
    const int lines = lineCount(lfText);
    checkDays(read, lines);
    checkProblems(read, lines);
    FUZZ_EXPECT(sameTimetables(read, settings::readTimetable(lfText)));
    return 0;
}

} // namespace vostrel::fuzz

#pragma once
// What each row's exam is, as the last accepted save left it: the time texts the schedule works
// on, the subject and its length, and how early the first prompt sounds. Written only by the
// save action; read by every poll. Texts, not numbers: the schedule converts whatever is stored.
#include <array>
#include <string>

#include "schedule/exam_subject.h"
#include "schedule/subjects.h"

namespace vostrel::schedule {

// Minutes before the start at which the first prompt sounds, unless a prepared timetable lets
// the day's first session in earlier.
inline constexpr int kFirstPromptLead = 25;

struct SubjectTimes {
    std::string startHour;   // first piece of the typed start time, exactly as typed
    std::string startMinute; // second piece
    std::string endHour;     // derived, may exceed 23
    std::string endMinute;
    ExamSubject subject; // whose exam it is; its length derived the end
    int firstPromptLead = kFirstPromptLead;
    bool operator==(const SubjectTimes&) const = default;
};

// Indexed by indexOf(Subject); all texts empty until the first accepted save of a run.
using SubjectTimesTable = std::array<SubjectTimes, 4>;

// Every row with its own subject and no times yet.
inline SubjectTimesTable initialSubjectTimes() {
    SubjectTimesTable table;
    for (std::size_t i = 0; i < table.size(); ++i) table[i].subject = ownSubjectOfRow(i);
    return table;
}

} // namespace vostrel::schedule

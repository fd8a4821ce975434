#pragma once
// The per-subject time texts the schedule works on. Written only by the save action; read by
// every poll. Texts, not numbers: the schedule converts whatever is stored on every poll.
#include <array>
#include <string>

namespace vostrel::schedule {

struct SubjectTimes {
    std::string startHour;   // first piece of the typed start time, exactly as typed
    std::string startMinute; // second piece
    std::string endHour;     // derived, may exceed 23
    std::string endMinute;
};

// Indexed by indexOf(Subject); all texts empty until the first accepted save of a run.
using SubjectTimesTable = std::array<SubjectTimes, 4>;

} // namespace vostrel::schedule

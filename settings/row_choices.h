#pragma once
// Which subject each row of the main window holds right now (its drop-down list shows the name;
// a subject of the school's own keeps its length here), how early the day's first prompt sounds,
// and the unticked rows a refused save showed so that the operator can correct them. Owned by
// the application; the drop-down lists, the start-up and the save change it on the UI thread.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "schedule/exam_subject.h"
#include "schedule/subject_times.h"
#include "schedule/subjects.h"

namespace vostrel::settings {

inline constexpr std::string_view kCustomSubjectItem = "自定义…";

struct RowChoices {
    std::array<schedule::ExamSubject, 4> subjects;
    std::array<int, 4> firstPromptLead;
    std::array<bool, 4> shownForCorrection{};
};

// Every row with its own subject.
RowChoices initialRowChoices();

// The items of a row's drop-down list while it holds `current`: the standard subjects, a
// subject of the school's own when it is one, and "自定义…".
std::vector<std::string> subjectListItems(const schedule::ExamSubject& current);

// Puts the subject into the row: the choice and the row's drop-down list.
void chooseSubject(RowChoices& rows, platform::Controls& controls, schedule::Subject row,
                   const schedule::ExamSubject& subject);

// True when the row holds its own subject with its own length.
bool holdsOwnSubject(const RowChoices& rows, schedule::Subject row);

} // namespace vostrel::settings

#include "settings/row_choices.h"

namespace vostrel::settings {

using schedule::ExamSubject;
using schedule::Subject;

RowChoices initialRowChoices() {
    RowChoices rows;
    for (std::size_t i = 0; i < rows.subjects.size(); ++i) {
        rows.subjects[i] = schedule::ownSubjectOfRow(i);
        rows.firstPromptLead[i] = schedule::kFirstPromptLead;
    }
    return rows;
}

std::vector<std::string> subjectListItems(const ExamSubject& current) {
    std::vector<std::string> items;
    for (const schedule::StandardSubject& s : schedule::kStandardSubjects) items.emplace_back(s.name);
    if (!schedule::standardMinutes(current.name)) items.push_back(current.name);
    items.emplace_back(kCustomSubjectItem);
    return items;
}

void chooseSubject(RowChoices& rows, platform::Controls& controls, Subject row, const ExamSubject& subject) {
    rows.subjects[schedule::indexOf(row)] = subject;
    const std::string_view list = schedule::controlsOf(row).subjectList;
    controls.setItems(list, subjectListItems(subject));
    controls.setText(list, subject.name);
}

bool holdsOwnSubject(const RowChoices& rows, Subject row) {
    return rows.subjects[schedule::indexOf(row)] == schedule::ownSubjectOfRow(schedule::indexOf(row));
}

} // namespace vostrel::settings

#pragma once
// The four rows of the main window, one exam subject each, and the controls each row owns.
// Rows are always handled in this order. A row holds its own subject (语文, 文数/理数, 文综/理综,
// 英语) until the operator or a prepared timetable puts another one there; the control names
// stay those of the row.
#include <array>
#include <cstddef>
#include <string_view>

#include "schedule/exam_subject.h"

namespace vostrel::schedule {

enum class Subject { Chinese, Maths, Combined, English };

inline constexpr std::array<Subject, 4> kSubjects{Subject::Chinese, Subject::Maths, Subject::Combined,
                                                  Subject::English};

struct SubjectControls {
    std::string_view checkBox;     // ticked while the subject is held today
    std::string_view subjectList;  // drop-down list: which subject the row holds
    std::string_view timeBox;      // typed start time
    std::string_view endLabel;     // derived end time
    std::string_view pollTimer;    // 600 ms while polling
    std::string_view holdOffTimer; // suspends polling after a prompt
};

inline constexpr std::array<SubjectControls, 4> kSubjectControls{{
    {"语文", "语文科目", "语文时间", "语文结束", "语文时钟", "语文时钟1"},
    {"数学", "数学科目", "数学时间", "数学结束", "数学时钟", "数学时钟1"},
    {"综合", "综合科目", "综合时间", "综合结束", "综合时钟", "综合时钟1"},
    {"英语", "英语科目", "英语时间", "英语结束", "英语时钟", "英语时钟1"},
}};

// The subject each row holds at first start and with any settings file that names none.
inline constexpr std::array<StandardSubject, 4> kRowDefaults{{
    {"语文", 150},
    {"文数/理数", 120},
    {"文综/理综", 150},
    {"英语", 120},
}};

constexpr std::size_t indexOf(Subject s) { return static_cast<std::size_t>(s); }
constexpr const SubjectControls& controlsOf(Subject s) { return kSubjectControls[indexOf(s)]; }
// The row's own subject (kRowDefaults) of the row at `index`.
inline ExamSubject ownSubjectOfRow(std::size_t index) {
    return {std::string(kRowDefaults[index].name), kRowDefaults[index].minutes};
}

} // namespace vostrel::schedule

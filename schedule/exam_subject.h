#pragma once
// The subjects a row of the main window can hold: the standard subjects with the lengths of the
// national college-entrance exam, the old combined ones, and subjects of a school's own.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vostrel::schedule {

struct ExamSubject {
    std::string name;
    int minutes = 0; // the exam's length
    bool operator==(const ExamSubject&) const = default;
};

struct StandardSubject {
    std::string_view name;
    int minutes;
};

// In the order the drop-down lists offer them.
inline constexpr std::array<StandardSubject, 12> kStandardSubjects{{
    {"语文", 150},
    {"数学", 120},
    {"外语", 120},
    {"英语", 120},
    {"物理", 75},
    {"历史", 75},
    {"化学", 75},
    {"生物", 75},
    {"思想政治", 75},
    {"地理", 75},
    {"文数/理数", 120},
    {"文综/理综", 150},
}};

// A subject of a school's own: a name of at most this many characters and a length in whole
// minutes within these bounds.
inline constexpr int kSubjectNameMaxChars = 8;
inline constexpr int kShortestExamMinutes = 30;
inline constexpr int kLongestExamMinutes = 300;

// The standard length of a subject, nothing for a name not in the list.
inline std::optional<int> standardMinutes(std::string_view name) {
    for (const StandardSubject& s : kStandardSubjects)
        if (s.name == name) return s.minutes;
    return std::nullopt;
}

// Why a subject of the school's own cannot be used, or nothing when it can: a name of 1 to 8
// characters without blanks, "=", "[", "]" or ";" (it is stored in the settings file as a key
// or a value) and a length within the bounds.
std::optional<std::string> customSubjectProblem(std::string_view name, int minutes);

} // namespace vostrel::schedule

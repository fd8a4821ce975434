#pragma once
// What the settings behaviours need to know per row of the main window, in the rows' order: the
// key of the row's start time (named after the row's own subject, as the settings file has
// always had them) and the keys that hold another subject the row was given.
#include <array>
#include <string>
#include <string_view>

namespace vostrel::settings {

struct RowSettings {
    std::string_view key;        // the start time as typed
    std::string_view subjectKey; // the row's subject, only while it is not the row's own
    std::string_view lengthKey;  // its length in minutes, likewise
};

inline constexpr std::array<RowSettings, 4> kRowSettings{{
    {"语文时间", "第1行科目", "第1行时长"},
    {"文数/理数时间", "第2行科目", "第2行时长"},
    {"文综/理综时间", "第3行科目", "第3行时长"},
    {"英语时间", "第4行科目", "第4行时长"},
}};

// Shown for a faulty start time: "语文时间设置有错误".
inline std::string timeErrorMessage(std::string_view subjectName) {
    return std::string(subjectName) + "时间设置有错误";
}

} // namespace vostrel::settings

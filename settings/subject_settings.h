#pragma once
// What the settings behaviours need to know per subject, in the subjects' order.
#include <array>
#include <string_view>

namespace vostrel::settings {

struct SubjectSettings {
    std::string_view key;          // key in the settings file
    std::string_view errorMessage; // shown for a faulty start time
    double minutesAdded;           // exam length is 2 hours plus this
};

inline constexpr double kHoursAdded = 2;

inline constexpr std::array<SubjectSettings, 4> kSubjectSettings{{
    {"语文时间", "语文时间设置有错误", 30},
    {"文数/理数时间", "文数/理数时间设置有错误", 0},
    {"文综/理综时间", "文综/理综时间设置有错误", 30},
    {"英语时间", "英语时间设置有错误", 0},
}};

} // namespace vostrel::settings

#include "schedule/exam_subject.h"

namespace vostrel::schedule {
namespace {

std::size_t characters(std::string_view utf8) {
    std::size_t n = 0;
    for (const unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

bool hasReservedCharacter(std::string_view name) {
    return name.find_first_of(" \t=[];") != std::string_view::npos ||
           name.find("\xE3\x80\x80") != std::string_view::npos;
}

} // namespace

std::optional<std::string> customSubjectProblem(std::string_view name, int minutes) {
    if (name.empty()) return "请填写科目名称";
    if (characters(name) > static_cast<std::size_t>(kSubjectNameMaxChars))
        return "科目名称最多" + std::to_string(kSubjectNameMaxChars) + "个字";
    if (hasReservedCharacter(name)) return "科目名称里不能有空格、等号、方括号或分号";
    if (minutes < kShortestExamMinutes || minutes > kLongestExamMinutes)
        return "考试时长应在" + std::to_string(kShortestExamMinutes) + "到" + std::to_string(kLongestExamMinutes) +
               "分钟之间";
    return std::nullopt;
}

} // namespace vostrel::schedule

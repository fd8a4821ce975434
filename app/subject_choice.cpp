#include "app/subject_choice.h"

#include <charconv>

#include "schedule/control_names.h"

namespace vostrel::app {
namespace {

using schedule::ExamSubject;

constexpr std::string_view kFormTitle = "自定义科目";
constexpr std::string_view kFormExplanation = "请填写这一行要考的科目和考试时长（30到300分钟）。";
constexpr std::string_view kNameLabel = "科目名称";
constexpr std::string_view kMinutesLabel = "考试时长（分钟）";
constexpr int kMinutesChars = 3;

int minutesOf(const std::string& text) {
    int minutes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    return error == std::errc() && end == text.data() + text.size() ? minutes : 0;
}

// Asks until the answer is usable; none when the operator cancels.
std::optional<ExamSubject> askCustomSubject(ChoiceContext& c, ExamSubject shown) {
    for (;;) {
        const std::optional<std::vector<std::string>> answer =
            c.forms.askForm(kFormTitle, kFormExplanation,
                            {{std::string(kNameLabel), shown.name, schedule::kSubjectNameMaxChars, false},
                             {std::string(kMinutesLabel), std::to_string(shown.minutes), kMinutesChars, true}});
        if (!answer || answer->size() != 2) return std::nullopt;
        shown = {(*answer)[0], minutesOf((*answer)[1])};
        const std::optional<std::string> problem = schedule::customSubjectProblem(shown.name, shown.minutes);
        if (!problem) return shown;
        c.messages.showMessage(*problem, platform::kMessageOk, schedule::kProgramTitle);
    }
}

} // namespace

void chooseRowSubject(ChoiceContext& context, schedule::Subject row) {
    const ExamSubject held = context.rows.subjects[schedule::indexOf(row)];
    const std::string picked = context.controls.text(schedule::controlsOf(row).subjectList);
    if (picked != settings::kCustomSubjectItem) {
        if (const std::optional<int> minutes = schedule::standardMinutes(picked))
            settings::chooseSubject(context.rows, context.controls, row, {picked, *minutes});
        else
            settings::chooseSubject(context.rows, context.controls, row, held); // the custom one again
        return;
    }
    const bool custom = !schedule::standardMinutes(held.name);
    const std::optional<ExamSubject> asked = askCustomSubject(context, custom ? held : ExamSubject{"", 90});
    settings::chooseSubject(context.rows, context.controls, row, asked.value_or(held));
}

} // namespace vostrel::app

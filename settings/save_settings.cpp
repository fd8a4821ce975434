#include <array>
#include <optional>

#include "schedule/control_names.h"
#include "schedule/subjects.h"
#include "settings/end_time.h"
#include "settings/settings_actions.h"
#include "settings/settings_file.h"
#include "settings/subject_settings.h"
#include "settings/wait.h"

namespace vostrel::settings {
namespace {

constexpr std::string_view kSavedCaption = "保存成功";
constexpr std::string_view kWriteFailedMessage = "保存失败：无法写入设置文件 vanto.ini";
constexpr std::int32_t kSavedCaptionMs = 3000;

} // namespace

void saveSettings(SettingsContext& context) {
    platform::Controls& controls = context.controls;

    // Validate all four before storing anything: a refused save must leave the running
    // schedule's times as they were.
    std::array<StartPieces, 4> starts;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::string_view box = schedule::kSubjectControls[i].timeBox;
        std::optional<StartPieces> accepted = acceptStartTime(controls.text(box));
        if (!accepted) {
            context.messages.showMessage(kSubjectSettings[i].errorMessage, platform::kMessageOk,
                                         schedule::kProgramTitle);
            controls.giveFocus(box);
            return;
        }
        starts[i] = std::move(*accepted);
    }

    for (std::size_t i = 0; i < starts.size(); ++i) {
        const EndTexts end = deriveEndTime(starts[i], kSubjectSettings[i].minutesAdded);
        schedule::SubjectTimes& times = context.times[i];
        times.startHour = starts[i].hour;
        times.startMinute = starts[i].minute;
        times.endHour = end.hour;
        times.endMinute = end.minute;
    }
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const schedule::SubjectTimes& times = context.times[i];
        controls.setText(schedule::kSubjectControls[i].endLabel, endLabelCaption({times.endHour, times.endMinute}));
    }

    bool written = true;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::string typed = controls.text(schedule::kSubjectControls[i].timeBox);
        written = writeSetting(context.profile, context.files, kSubjectSettings[i].key, typed) && written;
    }
    if (!written) {
        // The times apply to this run all the same; only the next start would miss them.
        context.messages.showMessage(kWriteFailedMessage, platform::kMessageIconStop, schedule::kProgramTitle);
        return;
    }

    controls.setText(schedule::kSaveButton, kSavedCaption);
    wait(context.loop, context.clock, kSavedCaptionMs);
    controls.setText(schedule::kSaveButton, schedule::kSaveCaption);
}

} // namespace vostrel::settings

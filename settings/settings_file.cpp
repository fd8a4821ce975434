#include "settings/settings_file.h"

#include <charconv>

#include "schedule/control_names.h"
#include "schedule/subjects.h"
#include "settings/settings_actions.h"
#include "settings/subject_settings.h"

namespace vostrel::settings {
namespace {

// The subject a row was given, from its keys; none when they hold nothing usable (the row then
// keeps its own subject).
std::optional<schedule::ExamSubject> storedSubject(SettingsContext& c, const RowSettings& row) {
    const std::string name = readSetting(c.profile, c.files, row.subjectKey);
    if (name.empty()) return std::nullopt;
    const std::string length = readSetting(c.profile, c.files, row.lengthKey);
    int minutes = 0;
    if (std::from_chars(length.data(), length.data() + length.size(), minutes).ec != std::errc())
        minutes = schedule::standardMinutes(name).value_or(0);
    if (schedule::customSubjectProblem(name, minutes)) return std::nullopt;
    return schedule::ExamSubject{name, minutes};
}

} // namespace

std::string pathBesideTheProgram(const platform::FileSystem& files, std::string_view name) {
    return files.programDirectory() + platform::kPathSeparator + std::string(name);
}

std::string settingsFilePath(const platform::FileSystem& files) {
    return pathBesideTheProgram(files, kSettingsFileName);
}

std::string readSetting(platform::ProfileStore& profile, const platform::FileSystem& files, std::string_view key) {
    if (key.empty()) return {};
    return profile.readString(kSettingsSection, key, settingsFilePath(files), kReadBufferBytes);
}

bool fileExists(const platform::FileSystem& files, std::string_view path) { return files.exists(path); }

void loadSettings(SettingsContext& context) {
    if (!fileExists(context.files, settingsFilePath(context.files))) {
        context.messages.showMessage("您是第一次使用，请先编辑好时间", platform::kMessageOk, schedule::kProgramTitle);
        return;
    }
    for (std::size_t i = 0; i < kRowSettings.size(); ++i) {
        context.controls.setText(schedule::kSubjectControls[i].timeBox,
                                 readSetting(context.profile, context.files, kRowSettings[i].key));
        if (const auto subject = storedSubject(context, kRowSettings[i]))
            chooseSubject(context.rows, context.controls, static_cast<schedule::Subject>(i), *subject);
    }
}

} // namespace vostrel::settings

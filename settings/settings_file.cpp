#include "settings/settings_file.h"

#include "schedule/subjects.h"
#include "schedule/control_names.h"
#include "settings/settings_actions.h"
#include "settings/subject_settings.h"

namespace vostrel::settings {

std::string settingsFilePath(const platform::FileSystem& files) {
    return files.programDirectory() + platform::kPathSeparator + std::string(kSettingsFileName);
}

std::string readSetting(platform::ProfileStore& profile, const platform::FileSystem& files, std::string_view key) {
    if (key.empty()) return {};
    return profile.readString(kSettingsSection, key, settingsFilePath(files), kReadBufferBytes);
}

bool writeSetting(platform::ProfileStore& profile, const platform::FileSystem& files, std::string_view key,
                  std::string_view value) {
    return profile.writeString(kSettingsSection, key, value, settingsFilePath(files));
}

bool fileExists(const platform::FileSystem& files, std::string_view path) { return files.exists(path); }

void loadSettings(SettingsContext& context) {
    if (!fileExists(context.files, settingsFilePath(context.files))) {
        context.messages.showMessage("您是第一次使用，请先编辑好时间", platform::kMessageOk, schedule::kProgramTitle);
        return;
    }
    for (std::size_t i = 0; i < kSubjectSettings.size(); ++i) {
        context.controls.setText(schedule::kSubjectControls[i].timeBox,
                                 readSetting(context.profile, context.files, kSubjectSettings[i].key));
    }
}

} // namespace vostrel::settings

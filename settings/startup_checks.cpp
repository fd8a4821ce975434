#include <string>

#include "schedule/control_names.h"
#include "settings/settings_actions.h"
#include "settings/settings_file.h"
#include "settings/subject_settings.h"

namespace vostrel::settings {
namespace {

// Only the first prompt file is looked for; the literal's slashes are accepted everywhere.
constexpr std::string_view kVoiceCheckFile = "/Vostrel/1speak.mp3";

} // namespace

void startupChecks(SettingsContext& context) {
    const std::string voiceCheckPath = context.files.programDirectory() + std::string(kVoiceCheckFile);
    if (!fileExists(context.files, voiceCheckPath)) {
        context.messages.showMessage("子目录下没有语音文件，因此不能继续操作，请到网站上下载",
                                     platform::kMessageIconStop, schedule::kProgramTitle);
        context.shell.openWebPage(downloadPageAddress(context.files));
        context.controls.closeMainWindow();
        return;
    }
    loadSettings(context);
}

void autoRepair(SettingsContext& context) {
    // No title of its own: these boxes carry the platform's default title.
    if (context.files.deleteFile(settingsFilePath(context.files))) {
        context.messages.showMessage("自动修复成功，重新打开程序即可", platform::kMessageOk, {});
        context.controls.closeMainWindow();
    } else {
        context.messages.showMessage("自动修复失败", platform::kMessageOk, {});
    }
}

} // namespace vostrel::settings

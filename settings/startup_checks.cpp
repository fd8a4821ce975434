#include <algorithm>
#include <string>

#include "platform/text_codec.h"
#include "schedule/calendar.h"
#include "schedule/control_names.h"
#include "settings/settings_actions.h"
#include "settings/settings_file.h"
#include "settings/timetable_file.h"

namespace vostrel::settings {
namespace {

using schedule::kSubjectControls;
using schedule::Subject;

// Only the first prompt file is looked for; the literal's slashes are accepted everywhere.
constexpr std::string_view kVoiceCheckFile = "/Vostrel/1speak.mp3";

// The day's subjects go into the first rows, ticked; the other rows are unticked. The subject
// that starts first gets the day's lead for its first prompt.
void fillDay(SettingsContext& c, const TimetableDay& day) {
    for (std::size_t i = 0; i < kSubjectControls.size(); ++i) {
        const bool held = i < day.subjects.size();
        c.controls.setTicked(kSubjectControls[i].checkBox, held);
        c.rows.firstPromptLead[i] = schedule::kFirstPromptLead;
        if (!held) continue;
        chooseSubject(c.rows, c.controls, static_cast<Subject>(i), day.subjects[i].subject);
        c.controls.setText(kSubjectControls[i].timeBox, day.subjects[i].start);
    }
    const auto first = std::min_element(day.subjects.begin(), day.subjects.end(),
                                        [](const auto& a, const auto& b) { return a.start < b.start; });
    if (first != day.subjects.end())
        c.rows.firstPromptLead[static_cast<std::size_t>(first - day.subjects.begin())] = day.firstPromptLead;
}

// A prepared timetable in the file fills today's rows; its faulty lines are named once.
void applyTimetable(SettingsContext& c) {
    const std::optional<std::string> bytes = c.files.readFile(settingsFilePath(c.files), kTimetableReadBytes);
    if (!bytes) return;
    const Timetable timetable = readTimetable(platform::gbkToUtf8(*bytes));
    const platform::LocalDateTime now = c.clock.localNow();
    if (const TimetableDay* day = timetableDayOf(timetable, {now.year, now.month, now.day})) fillDay(c, *day);
    if (!timetable.problems.empty())
        c.messages.showMessage(timetableProblemsMessage(timetable.problems), platform::kMessageOk,
                               schedule::kProgramTitle);
}

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
    // A save cut short by a power cut may have left a temporary copy beside the file.
    context.profile.removeLeftovers(settingsFilePath(context.files));
    loadSettings(context);
    applyTimetable(context);
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

#pragma once
// The exam-time settings behaviours of the main window, as event handlers. Each takes the
// parts of the platform it works through and the schedule's SubjectTimes, which only the
// save writes.
#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "schedule/subject_times.h"

namespace vostrel::settings {

struct SettingsContext {
    platform::Controls& controls;
    platform::MessageBoxes& messages;
    platform::EventLoop& loop;
    platform::Clock& clock;
    platform::FileSystem& files;
    platform::ProfileStore& profile;
    platform::Shell& shell;
    schedule::SubjectTimesTable& times;
};

// Click of 按钮1. Splits and validates the four typed start times; on the first faulty one
// (fewer than two pieces at ":", hour above 23, minute above 59) shows its message, moves the
// focus to its box and changes nothing else. Otherwise stores the start pieces and the derived
// end times in `times`, shows the end times, writes the four texts to the settings file and
// shows "保存成功" on the button for three seconds (events keep being handled meanwhile); a
// failed write is reported by a message instead.
void saveSettings(SettingsContext& context);

// Creation-complete of the main window. Without the first voice file: message, the download
// page, and the window is closed. Otherwise the boxes are filled from the settings file, or
// the first-run message is shown when there is none.
void startupChecks(SettingsContext& context);

// Click of 按钮4. Deletes the settings file; on success tells the operator and closes the
// window, otherwise reports the failure and the program goes on.
void autoRepair(SettingsContext& context);

// Where the operator learns how to get the voice files (also opened by 按钮6): the help page
// shipped beside the program, help/voice-files.html, so that it works in a classroom without
// network. A plain path on Windows (the shell opens it in the browser), a file:// URL elsewhere.
std::string downloadPageAddress(const platform::FileSystem& files);

} // namespace vostrel::settings

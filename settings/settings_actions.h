#pragma once
// The exam-time settings behaviours of the main window, as event handlers. Each takes the
// parts of the platform it works through and the schedule's SubjectTimes, which only the
// save writes.
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "record/record_sink.h"
#include "schedule/schedule_state.h"
#include "schedule/subject_times.h"
#include "settings/row_choices.h"

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
    RowChoices& rows;
    schedule::ScheduleState& schedule; // a save that changes an exam starts its polling afresh
    record::RecordSink& record;
    std::function<void()> saved; // after every accepted save (the invigilators' plan page)
};

// Click of 按钮1. Splits and validates the four typed start times; on the first faulty one
// (fewer than two pieces at ":", hour above 23, minute above 59) shows its message naming the
// row's subject, moves the focus to its box (showing the row if it is unticked) and changes
// nothing else. An unticked row's empty box is no fault: that row has no exam. Otherwise stores
// the rows' subjects, start pieces and derived end times in `times`, shows the end times, writes
// the four texts (and the subjects of rows that hold another than their own) to the settings
// file in one replacement, writes the save into the day's record and shows "保存成功" on the
// button for three seconds (events keep being handled meanwhile); a failed write is reported by
// a message instead.
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

// What the shell is given to open a page that lies at `path` beside the program.
std::string localPageAddress(std::string_view path);

} // namespace vostrel::settings

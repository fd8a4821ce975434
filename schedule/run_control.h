#pragma once
// Starting and pausing the run with 按钮2, and the end of a subject's hold-off. The run state
// is the button's caption.

#include "schedule/control_names.h"
#include "schedule/schedule_context.h"
#include "schedule/subjects.h"

namespace vostrel::schedule {

// Click of 按钮2. While running it pauses: playback stops (the prompt counts as cut by the
// pause) and every subject timer, polling and hold-off alike, stops, so nothing sounds while the
// caption reads paused. Otherwise it starts: refused with a message when no subject is ticked or
// no save has derived the end times yet; else all four polling timers run, so a subject ticked
// later is announced too (an unticked subject's poll returns at once). Prompts whose minute
// ended before the start are not caught up. Both are written into the day's record.
void startPauseClicked(ScheduleContext& context);

// True while the run announces prompts: 按钮2 reads "工作中...".
inline bool isRunning(const platform::Controls& controls) {
    return controls.text(kStartPauseButton) == kCaptionRunning;
}

// Tick of the subject's hold-off timer: the hold-off ends and the subject polls again.
void holdOffElapsed(ScheduleContext& context, Subject subject);

} // namespace vostrel::schedule

#include "schedule/run_control.h"

#include <algorithm>

#include "platform/message_box.h"
#include "schedule/prompt_table.h"

namespace vostrel::schedule {
namespace {

bool anySubjectTicked(const platform::Controls& controls) {
    return std::any_of(kSubjects.begin(), kSubjects.end(),
                       [&](Subject s) { return controls.ticked(controlsOf(s).checkBox); });
}

// End times exist only after an accepted save; without them every reference would read as
// 00:00 and the prompts would sound at midnight instead of at the exam times.
bool tickedSubjectLacksEndTime(const ScheduleContext& context) {
    return std::any_of(kSubjects.begin(), kSubjects.end(), [&](Subject s) {
        const SubjectTimes& times = context.times[indexOf(s)];
        return context.controls.ticked(controlsOf(s).checkBox) && (times.endHour.empty() || times.endMinute.empty());
    });
}

void start(ScheduleContext& context) {
    if (!anySubjectTicked(context.controls)) {
        context.messages.showMessage(kNoSubjectMessage, platform::kMessageOk, kProgramTitle);
        return;
    }
    if (tickedSubjectLacksEndTime(context)) {
        context.messages.showMessage(kNoTimesMessage, platform::kMessageOk, kProgramTitle);
        return;
    }
    context.controls.setText(kStartPauseButton, kCaptionRunning);
    for (Subject s : kSubjects) context.controls.setInterval(controlsOf(s).pollTimer, kPollIntervalMs);
}

void pause(ScheduleContext& context) {
    context.player.StopPlayback();
    context.controls.setText(kStartPauseButton, kCaptionPaused);
    for (Subject s : kSubjects) context.controls.setInterval(controlsOf(s).pollTimer, 0);
    // A hold-off left running would re-arm polling and play prompts during the pause.
    for (Subject s : kSubjects) context.controls.setInterval(controlsOf(s).holdOffTimer, 0);
}

} // namespace

void startPauseClicked(ScheduleContext& context) {
    if (context.controls.text(kStartPauseButton) == kCaptionRunning)
        pause(context);
    else
        start(context);
}

void holdOffElapsed(ScheduleContext& context, Subject subject) {
    const SubjectControls& controls = controlsOf(subject);
    context.controls.setInterval(controls.holdOffTimer, 0);
    context.controls.setInterval(controls.pollTimer, kPollIntervalMs);
}

} // namespace vostrel::schedule

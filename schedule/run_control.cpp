#include "schedule/run_control.h"

#include <algorithm>
#include <string_view>

#include "platform/message_box.h"
#include "schedule/poll.h"
#include "schedule/prompt_table.h"

namespace vostrel::schedule {
namespace {

constexpr std::string_view kNoSubjectMessage = "是今天不考试吗？你好像还没有选择科目哦";
constexpr std::string_view kNoTimesMessage = "请先点击“保存设置”，再开始运行";
// Their lines in the day's record.
constexpr std::string_view kRunStartedEvent = "开始运行";
constexpr std::string_view kRunPausedEvent = "暂停";

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
    // Prompts whose minute ended before the start are not caught up: starting late is no
    // skipped minute.
    const std::int64_t startedAt = minuteStart(momentOf(context.clock.localNow()));
    for (Subject s : kSubjects) {
        context.state.pollingSince[indexOf(s)] = startedAt;
        context.state.seenUnticked[indexOf(s)] = false;
        context.controls.setInterval(controlsOf(s).pollTimer, kPollIntervalMs);
    }
    context.record.appendNow(context.clock, kRunStartedEvent);
}

void pause(ScheduleContext& context) {
    context.player.StopPlayback(audio::PlaySlot::StopCause::Pause);
    settleSoundingPrompt(context);
    context.record.appendNow(context.clock, kRunPausedEvent);
    context.controls.setText(kStartPauseButton, kCaptionPaused);
    for (Subject s : kSubjects) context.controls.setInterval(controlsOf(s).pollTimer, 0);
    // A hold-off left running would re-arm polling and play prompts during the pause.
    for (Subject s : kSubjects) context.controls.setInterval(controlsOf(s).holdOffTimer, 0);
}

} // namespace

void startPauseClicked(ScheduleContext& context) {
    if (isRunning(context.controls))
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

#include "app/behaviours.h"

#include <string>

#include "schedule/run_control.h"
#include "schedule/control_names.h"
#include "schedule/subjects.h"

namespace vostrel::app {
namespace {

constexpr std::string_view kCancelKeepOnTopCaption = "取消前置";

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    return value < 10 ? "0" + text : text;
}

} // namespace

void toggleKeepOnTop(BehaviourContext& ctx) {
    if (ctx.controls.text(schedule::kKeepOnTopButton) == kCancelKeepOnTopCaption) {
        ctx.controls.setText(schedule::kKeepOnTopButton, schedule::kKeepOnTopCaption);
        ctx.controls.setAlwaysOnTop(false);
    } else {
        ctx.controls.setText(schedule::kKeepOnTopButton, kCancelKeepOnTopCaption);
        ctx.controls.setAlwaysOnTop(true);
    }
}

std::string clockText(int hour, int minute, int second) {
    return "系统时间为 " + twoDigits(hour) + ":" + twoDigits(minute) + ":" + twoDigits(second);
}

void showClock(BehaviourContext& ctx) {
    // One reading for all three fields, so a change of the hour never shows a mixed time.
    const platform::LocalDateTime now = ctx.clock.localNow();
    ctx.controls.setText(schedule::kClockLabel, clockText(now.hour, now.minute, now.second));
}

void openDownloadPage(BehaviourContext& ctx) { ctx.shell.openWebPage(ctx.downloadPageAddress); }

void togglePicture(BehaviourContext& ctx) {
    ctx.controls.setVisible(schedule::kPicture, !ctx.controls.visible(schedule::kPicture));
}

void syncSubjectRows(BehaviourContext& ctx) {
    for (std::size_t i = 0; i < schedule::kSubjectControls.size(); ++i) {
        const schedule::SubjectControls& s = schedule::kSubjectControls[i];
        const bool shown = ctx.controls.ticked(s.checkBox) || ctx.rows.shownForCorrection[i];
        ctx.controls.setVisible(s.timeBox, shown);
        ctx.controls.setVisible(s.endLabel, shown);
    }
}

bool mayCloseWindow(BehaviourContext& ctx) {
    if (!schedule::isRunning(ctx.controls)) return true;
    return ctx.messages.askYesNo(kQuitWhileRunningQuestion, schedule::kProgramTitle);
}

} // namespace vostrel::app

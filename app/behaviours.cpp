#include "app/behaviours.h"

#include <string>

#include "schedule/subjects.h"

namespace vostrel::app {
namespace {

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    return value < 10 ? "0" + text : text;
}

} // namespace

void toggleKeepOnTop(BehaviourContext& ctx) {
    if (ctx.controls.text("按钮3") == "取消前置") {
        ctx.controls.setText("按钮3", "窗口前置");
        ctx.controls.setAlwaysOnTop(false);
    } else {
        ctx.controls.setText("按钮3", "取消前置");
        ctx.controls.setAlwaysOnTop(true);
    }
}

std::string clockText(int hour, int minute, int second) {
    return "系统时间为 " + twoDigits(hour) + ":" + twoDigits(minute) + ":" + twoDigits(second);
}

void showClock(BehaviourContext& ctx) {
    // One reading for all three fields, so a change of the hour never shows a mixed time.
    const platform::LocalDateTime now = ctx.clock.localNow();
    ctx.controls.setText("透明标签2", clockText(now.hour, now.minute, now.second));
}

void openDownloadPage(BehaviourContext& ctx) { ctx.shell.openWebPage(ctx.downloadPageAddress); }

void togglePicture(BehaviourContext& ctx) { ctx.controls.setVisible("图片框1", !ctx.controls.visible("图片框1")); }

void syncSubjectRows(BehaviourContext& ctx) {
    for (const schedule::SubjectControls& s : schedule::kSubjectControls) {
        const bool shown = ctx.controls.ticked(s.checkBox);
        ctx.controls.setVisible(s.timeBox, shown);
        ctx.controls.setVisible(s.endLabel, shown);
    }
}

} // namespace vostrel::app

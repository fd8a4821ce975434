#pragma once
// The window's own small behaviours: keep-on-top, the clock, the download page, the picture and
// the subject rows that follow their check boxes. Each is the handler of one control event.
#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "settings/row_choices.h"

namespace vostrel::app {

inline constexpr std::string_view kQuitWhileRunningQuestion = "正在播报考试提示，确定要退出吗？";

struct BehaviourContext {
    platform::Controls& controls;
    platform::Clock& clock;
    platform::Shell& shell;
    platform::MessageBoxes& messages;
    const settings::RowChoices& rows;
    std::string downloadPageAddress;
};

void toggleKeepOnTop(BehaviourContext&);  // click of 按钮3
void showClock(BehaviourContext&);        // tick of 时钟2
void openDownloadPage(BehaviourContext&); // click of 按钮6
void togglePicture(BehaviourContext&);    // click of 按钮5
void syncSubjectRows(BehaviourContext&);  // tick of 时钟1: a row shows while ticked, or while a refused save shows it

// The operator closes the window (close box or Esc): while the run is on, only after a 是 to the
// question (否, keep running, is the default); otherwise at once.
bool mayCloseWindow(BehaviourContext&);

// "系统时间为 HH:MM:SS" for a time of day.
std::string clockText(int hour, int minute, int second);

} // namespace vostrel::app

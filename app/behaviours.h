#pragma once
// The window's own small behaviours: keep-on-top, the clock, the download page, the picture and
// the subject rows that follow their check boxes. Each is the handler of one control event.
#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/shell.h"

namespace vostrel::app {

struct BehaviourContext {
    platform::Controls& controls;
    platform::Clock& clock;
    platform::Shell& shell;
    std::string downloadPageAddress;
};

void toggleKeepOnTop(BehaviourContext&);  // click of 按钮3
void showClock(BehaviourContext&);        // tick of 时钟2
void openDownloadPage(BehaviourContext&); // click of 按钮6
void togglePicture(BehaviourContext&);    // click of 按钮5
void syncSubjectRows(BehaviourContext&);  // tick of 时钟1

// "系统时间为 HH:MM:SS" for a time of day.
std::string clockText(int hour, int minute, int second);

} // namespace vostrel::app

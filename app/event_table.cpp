#include "app/event_table.h"

#include "schedule/poll.h"
#include "schedule/run_control.h"
#include "schedule/subjects.h"

namespace vostrel::app {

using platform::ControlEvent;
using platform::EventBinding;

std::vector<EventBinding> eventTable(HandlerContexts c) {
    std::vector<EventBinding> table = {
        {"按钮1", ControlEvent::Click, [&s = c.settings] { settings::saveSettings(s); }},
        {"按钮2", ControlEvent::Click,
         [&r = c.schedule, &power = c.power] {
             schedule::startPauseClicked(r);
             // While the run announces prompts the computer must not fall asleep.
             power.keepAwake(r.controls.text(schedule::kStartPauseButton) == schedule::kCaptionRunning);
         }},
        {"按钮3", ControlEvent::Click, [&b = c.behaviours] { toggleKeepOnTop(b); }},
        {"按钮4", ControlEvent::Click, [&s = c.settings] { settings::autoRepair(s); }},
        {"按钮5", ControlEvent::Click, [&b = c.behaviours] { togglePicture(b); }},
        {"按钮6", ControlEvent::Click, [&b = c.behaviours] { openDownloadPage(b); }},
        {"时钟1", ControlEvent::Tick, [&b = c.behaviours] { syncSubjectRows(b); }},
        {"时钟2", ControlEvent::Tick, [&b = c.behaviours] { showClock(b); }},
    };
    for (const schedule::Subject subject : schedule::kSubjects) {
        const schedule::SubjectControls& names = schedule::controlsOf(subject);
        table.push_back({std::string(names.pollTimer), ControlEvent::Tick,
                         [&r = c.schedule, subject] { schedule::pollSubject(r, subject); }});
        table.push_back({std::string(names.holdOffTimer), ControlEvent::Tick,
                         [&r = c.schedule, subject] { schedule::holdOffElapsed(r, subject); }});
    }
    return table;
}

} // namespace vostrel::app

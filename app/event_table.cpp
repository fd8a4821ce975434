#include "app/event_table.h"

#include "schedule/control_names.h"
#include "schedule/poll.h"
#include "schedule/run_control.h"
#include "schedule/subjects.h"

namespace vostrel::app {

using platform::ControlEvent;
using platform::EventBinding;

namespace {

void startPause(const HandlerContexts& c) {
    schedule::startPauseClicked(c.schedule);
    const bool running = schedule::isRunning(c.schedule.controls);
    // While the run announces prompts the computer must not fall asleep.
    c.power.keepAwake(running);
    // A voice file that went missing since the start-up is named before its prompt is due.
    if (running) checkVoiceFiles(c.status);
}

} // namespace

std::vector<EventBinding> eventTable(HandlerContexts c) {
    std::vector<EventBinding> table = {
        {std::string(schedule::kSaveButton), ControlEvent::Click, [&s = c.settings] { settings::saveSettings(s); }},
        {std::string(schedule::kStartPauseButton), ControlEvent::Click, [c] { startPause(c); }},
        {std::string(schedule::kKeepOnTopButton), ControlEvent::Click, [&b = c.behaviours] { toggleKeepOnTop(b); }},
        {std::string(schedule::kAutoRepairButton), ControlEvent::Click, [&s = c.settings] { settings::autoRepair(s); }},
        {std::string(schedule::kPictureButton), ControlEvent::Click, [&b = c.behaviours] { togglePicture(b); }},
        {std::string(schedule::kDownloadButton), ControlEvent::Click, [&b = c.behaviours] { openDownloadPage(b); }},
        {std::string(schedule::kPlanButton), ControlEvent::Click, [&p = c.plan] { openPlanPage(p); }},
        {std::string(schedule::kRowSyncTimer), ControlEvent::Tick, [&b = c.behaviours] { syncSubjectRows(b); }},
        {std::string(schedule::kClockTimer), ControlEvent::Tick,
         [&b = c.behaviours, &s = c.status] {
             showClock(b);
             watchTheDay(s);
         }},
    };
    for (const schedule::Subject subject : schedule::kSubjects) {
        const schedule::SubjectControls& names = schedule::controlsOf(subject);
        table.push_back({std::string(names.pollTimer), ControlEvent::Tick,
                         [&r = c.schedule, subject] { schedule::pollSubject(r, subject); }});
        table.push_back({std::string(names.holdOffTimer), ControlEvent::Tick,
                         [&r = c.schedule, subject] { schedule::holdOffElapsed(r, subject); }});
        table.push_back({std::string(names.subjectList), ControlEvent::Change,
                         [&choice = c.choice, subject] { chooseRowSubject(choice, subject); }});
    }
    return table;
}

} // namespace vostrel::app

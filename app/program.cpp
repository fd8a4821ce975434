#include "app/program.h"

#include "app/behaviours.h"
#include "app/event_table.h"
#include "app/late_bound_controls.h"
#include "app/main_window_layout.h"
#include "schedule/schedule_context.h"
#include "schedule/subject_times.h"
#include "settings/settings_actions.h"

namespace vostrel::app {

// The global state of a run. Members are made in the order they are needed and released in
// reverse when the run ends.
struct Program::State {
    State(platform::Platform& p, const PlayerModuleInstaller& installer)
        : behaviours{controls, p.clock(), p.shell(), settings::downloadPageAddress(p.files())},
          schedule{controls, p.messages(), p.clock(), times, slot, p.files().programDirectory()},
          settings{controls, p.messages(), p.loop(), p.clock(), p.files(), p.profile(), p.shell(), times} {
        if (installer) installer(players);
    }
    LateBoundControls controls;
    audio::PlayerEntryTable players;
    audio::PlaySlot slot{players};
    schedule::SubjectTimesTable times{};
    BehaviourContext behaviours;
    schedule::ScheduleContext schedule;
    settings::SettingsContext settings;
};

Program::Program(platform::Platform& platform, PlayerModuleInstaller installPlayerModule)
    : platform_(platform), state_(std::make_unique<State>(platform, installPlayerModule)) {}

Program::~Program() { finish(); }

void Program::start() {
    State& s = *state_;
    platform_.files().setCurrentDirectory(platform_.files().programDirectory());

    platform::WindowDescription description = mainWindowLayout();
    description.bindings = eventTable(HandlerContexts{s.behaviours, s.schedule, s.settings, platform_.power()});
    s.controls.attach(platform_.windows().createMainWindow(description));

    // Creation complete: before the window appears. A missing voice folder queues the close,
    // which the event loop takes right after the window has been shown.
    settings::startupChecks(s.settings);
    platform_.windows().showMainWindow();
}

void Program::runEventLoop() {
    if (platform_.windows().mainWindowExists()) platform_.loop().run();
}

int Program::finish() {
    if (finished_) return 0;
    finished_ = true;
    // A prompt still sounding stops before the process ends; the player module is still in
    // the table at this point.
    state_->slot.StopPlayback();
    platform_.power().keepAwake(false);
    state_.reset();
    return 0;
}

platform::Controls& Program::controls() { return state_->controls; }
audio::PlaySlot& Program::playSlot() { return state_->slot; }

int runProgram(platform::Platform& platform, PlayerModuleInstaller installPlayerModule) {
    Program program(platform, std::move(installPlayerModule));
    program.start();
    program.runEventLoop();
    return program.finish();
}

} // namespace vostrel::app

#include "app/program.h"

#include "app/behaviours.h"
#include "app/day_status.h"
#include "app/event_table.h"
#include "app/late_bound_controls.h"
#include "app/main_window_layout.h"
#include "app/plan_page.h"
#include "app/subject_choice.h"
#include "assets/embedded_assets.h"
#include "record/record_writer.h"
#include "schedule/control_names.h"
#include "schedule/poll.h"
#include "schedule/prompt_record.h"
#include "schedule/schedule_context.h"
#include "schedule/subject_times.h"
#include "settings/row_choices.h"
#include "settings/settings_actions.h"
#include "settings/settings_file.h"

namespace vostrel::app {
namespace {

constexpr std::string_view kProgramStartedEvent = "程序启动";
constexpr std::string_view kProgramEndedEvent = "程序退出";
// What the program reads back of the record at start, and how long it waits for it.
constexpr std::size_t kRecordReadBack = 256 * 1024;
constexpr std::chrono::milliseconds kRecordReadWait{1000};
// What the record's worker gets at the end to write the last lines.
constexpr std::chrono::milliseconds kRecordGraceAtExit{2000};

} // namespace

// The global state of a run. Members are made in the order they are needed and released in
// reverse when the run ends.
struct Program::State {
    State(platform::Platform& p, const PlayerModuleInstaller& installer)
        : writer(std::make_unique<record::RecordWriter>(
              p.backgroundFiles(), settings::pathBesideTheProgram(p.files(), record::kRecordFileName))),
          behaviours{controls, p.clock(), p.shell(), p.messages(), rows, settings::downloadPageAddress(p.files())},
          schedule{controls,      p.messages(), p.clock(), times, slot, p.files().programDirectory(),
                   scheduleState, *writer},
          settings{controls,  p.messages(), p.loop(), p.clock(),     p.files(), p.profile(),
                   p.shell(), times,        rows,     scheduleState, *writer,   [this] { writePlanPage(plan); }},
          choice{controls, p.messages(), p.forms(), rows}, plan{controls,
                                                                p.clock(),
                                                                p.shell(),
                                                                times,
                                                                *writer,
                                                                promptWords(assets::promptTexts()),
                                                                settings::pathBesideTheProgram(p.files(),
                                                                                               kPlanPageFileName)},
          status{controls, p.clock(), schedule, *writer, dayStatus} {
        if (installer) installer(players);
    }
    LateBoundControls controls;
    audio::PlayerEntryTable players;
    audio::PlaySlot slot{players};
    schedule::SubjectTimesTable times = schedule::initialSubjectTimes();
    settings::RowChoices rows = settings::initialRowChoices();
    schedule::ScheduleState scheduleState;
    DayStatus dayStatus;
    std::unique_ptr<record::RecordWriter> writer;
    BehaviourContext behaviours;
    schedule::ScheduleContext schedule;
    settings::SettingsContext settings;
    ChoiceContext choice;
    PlanContext plan;
    StatusContext status;
};

Program::Program(platform::Platform& platform, PlayerModuleInstaller installPlayerModule)
    : platform_(platform), state_(std::make_unique<State>(platform, installPlayerModule)) {}

Program::~Program() { finish(); }

// The record says the program started; what it says of the prompts that began already keeps
// them from sounding again after a restart.
void Program::startRecord() {
    State& s = *state_;
    s.writer->appendNow(platform_.clock(), kProgramStartedEvent);
    if (const std::optional<std::string> tail = s.writer->readTail(kRecordReadBack, kRecordReadWait))
        s.scheduleState.handled = schedule::promptsBegunIn(*tail);
}

void Program::start() {
    if (!platform_.instance().claim()) {
        refused_ = true;
        platform_.messages().showMessage(kAlreadyRunningMessage, platform::kMessageOk, schedule::kProgramTitle);
        platform_.instance().activateFirstCopy();
        return;
    }
    State& s = *state_;
    platform_.files().setCurrentDirectory(platform_.files().programDirectory());
    startRecord();

    platform::WindowDescription description = mainWindowLayout();
    description.bindings = eventTable(
        HandlerContexts{s.behaviours, s.schedule, s.settings, platform_.power(), s.choice, s.plan, s.status});
    description.closeQuery = [&b = s.behaviours] { return mayCloseWindow(b); };
    s.controls.attach(platform_.windows().createMainWindow(description));

    // Creation complete: before the window appears. A missing voice folder queues the close,
    // which the event loop takes right after the window has been shown.
    settings::startupChecks(s.settings);
    s.dayStatus.clockUnsynchronised = platform_.clockSync().synchronised() == false;
    checkVoiceFiles(s.status);
    platform_.windows().showMainWindow();
}

void Program::runEventLoop() {
    if (!refused_ && platform_.windows().mainWindowExists()) platform_.loop().run();
}

int Program::finish() {
    if (finished_) return 0;
    finished_ = true;
    State& s = *state_;
    if (!refused_) {
        // A prompt still sounding stops before the process ends; the player module is still in
        // the table at this point.
        s.slot.StopPlayback(audio::PlaySlot::StopCause::ProgramEnd);
        schedule::settleSoundingPrompt(s.schedule);
        s.writer->appendNow(platform_.clock(), kProgramEndedEvent);
        platform_.power().keepAwake(false);
    }
    // A worker stuck in a disk call goes on alone; the platform's files it uses must stay.
    workLeftBehind_ = !s.writer->finish(kRecordGraceAtExit);
    state_.reset();
    return 0;
}

platform::Controls& Program::controls() { return state_->controls; }
audio::PlaySlot& Program::playSlot() { return state_->slot; }
record::RecordWriter& Program::recordWriter() { return *state_->writer; }

ProgramEnd runProgram(platform::Platform& platform, PlayerModuleInstaller installPlayerModule) {
    Program program(platform, std::move(installPlayerModule));
    program.start();
    program.runEventLoop();
    const int exitCode = program.finish();
    return {exitCode, program.leftWorkBehind()};
}

} // namespace vostrel::app

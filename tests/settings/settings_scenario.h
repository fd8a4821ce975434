#pragma once
// A run of the settings behaviours on the simulated platform: a window with the controls they
// touch (the four subject rows, the save and repair buttons, and a probe timer the test can
// bind), in a program folder that outlives the run so that a test can restart the program.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/sim_platform.h"
#include "schedule/schedule_state.h"
#include "schedule/subject_times.h"
#include "settings/row_choices.h"
#include "settings/settings_actions.h"
#include "tests/schedule/collected_record.h"
#include "tests/platform/temp_folder.h"

namespace vostrel::settings_test {

using platform_test::TempFolder;

inline constexpr std::string_view kProbeTimer = "测试时钟";

class SettingsRun {
public:
    // profile: the private-profile store to use; null for the simulated platform's own.
    explicit SettingsRun(const std::filesystem::path& programDirectory, platform::ProfileStore* profile = nullptr);

    // The window is created and the creation-complete handler (startupChecks) runs.
    void start();

    platform::sim::SimPlatform& sim() { return sim_; }
    platform::Controls& controls() { return *controls_; }
    settings::SettingsContext& context() { return *context_; }
    schedule::SubjectTimesTable& times() { return times_; }
    settings::RowChoices& rows() { return rows_; }
    schedule::ScheduleState& scheduleState() { return scheduleState_; }
    const test::CollectedRecord& record() const { return record_; }
    int plansWritten() const { return plansWritten_; }
    std::string text(std::string_view control) { return controls_->text(control); }

    // Runs on every tick of kProbeTimer (set its interval through controls()).
    std::function<void()> onProbe;

private:
    platform::sim::SimPlatform sim_;
    schedule::SubjectTimesTable times_ = schedule::initialSubjectTimes();
    settings::RowChoices rows_ = settings::initialRowChoices();
    schedule::ScheduleState scheduleState_;
    test::CollectedRecord record_;
    int plansWritten_ = 0;
    platform::Controls* controls_ = nullptr;
    std::unique_ptr<settings::SettingsContext> context_;
};

// A program folder with or without the first voice file, and runs of the program in it.
class SettingsScenario {
public:
    std::filesystem::path folder() const { return folder_.path(); }
    std::string settingsFile() const { return folder_.file("vanto.ini"); }
    void addFirstVoiceFile();
    // Later runs use this store (for example one whose file calls fail).
    void useProfileStore(platform::ProfileStore& profile) { profile_ = &profile; }
    // A new run (the previous one is discarded); the responder answers its message boxes
    // from the start.
    SettingsRun& startProgram(platform::sim::MessageResponder responder = {});
    SettingsRun& run() { return *run_; }

private:
    TempFolder folder_;
    platform::ProfileStore* profile_ = nullptr;
    std::optional<SettingsRun> run_;
};

} // namespace vostrel::settings_test

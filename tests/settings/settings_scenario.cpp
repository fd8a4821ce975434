#include "tests/settings/settings_scenario.h"

#include <fstream>

#include "schedule/subjects.h"

namespace vostrel::settings_test {
namespace {

platform::sim::SimPlatform::Options optionsFor(const std::filesystem::path& programDirectory,
                                               platform::ProfileStore* profile) {
    platform::sim::SimPlatform::Options options;
    options.programDirectory = programDirectory.string();
    options.profile = profile;
    return options;
}

platform::ControlDescription control(std::string name, platform::ControlKind kind, std::string text = {}) {
    platform::ControlDescription described;
    described.name = std::move(name);
    described.kind = kind;
    described.text = std::move(text);
    return described;
}

} // namespace

SettingsRun::SettingsRun(const std::filesystem::path& programDirectory, platform::ProfileStore* profile)
    : sim_(optionsFor(programDirectory, profile)) {}

void SettingsRun::start() {
    using platform::ControlEvent;
    using platform::ControlKind;
    static constexpr std::string_view kInitialTimes[] = {"09:00", "15:00", "09:00", "15:00"};

    platform::WindowDescription description;
    description.title = "Vostrel";
    for (std::size_t i = 0; i < schedule::kSubjectControls.size(); ++i) {
        const schedule::SubjectControls& subject = schedule::kSubjectControls[i];
        description.controls.push_back(control(std::string(subject.checkBox), ControlKind::CheckBox));
        platform::ControlDescription list = control(std::string(subject.subjectList), ControlKind::DropDownList,
                                                    std::string(schedule::kRowDefaults[i].name));
        list.items = settings::subjectListItems(rows_.subjects[i]);
        description.controls.push_back(list);
        platform::ControlDescription box =
            control(std::string(subject.timeBox), ControlKind::EditBox, std::string(kInitialTimes[i]));
        box.maxChars = 5;
        description.controls.push_back(box);
        description.controls.push_back(
            control(std::string(subject.endLabel), ControlKind::TransparentLabel, "保存自动获取结束时间"));
    }
    description.controls.push_back(control("按钮1", ControlKind::Button, "保存设置"));
    description.controls.push_back(control("按钮4", ControlKind::Button, "自动修复"));
    description.controls.push_back(control(std::string(kProbeTimer), ControlKind::Timer));
    description.bindings.push_back({"按钮1", ControlEvent::Click, [this] { settings::saveSettings(*context_); }});
    description.bindings.push_back({"按钮4", ControlEvent::Click, [this] { settings::autoRepair(*context_); }});
    description.bindings.push_back({std::string(kProbeTimer), ControlEvent::Tick, [this] {
                                        if (onProbe) onProbe();
                                    }});

    controls_ = &sim_.windows().createMainWindow(description);
    context_ = std::make_unique<settings::SettingsContext>(
        settings::SettingsContext{*controls_, sim_.messages(), sim_.loop(), sim_.clock(), sim_.files(), sim_.profile(),
                                  sim_.shell(), times_, rows_, scheduleState_, record_, [this] { ++plansWritten_; }});
    settings::startupChecks(*context_);
    sim_.advance(0); // takes a queued close, as the event loop would before showing the window
    if (sim_.windowExists()) sim_.windows().showMainWindow();
}

void SettingsScenario::addFirstVoiceFile() {
    std::filesystem::create_directories(folder_.path() / "Vostrel");
    std::ofstream(folder_.path() / "Vostrel" / "1speak.mp3") << "ID3";
}

SettingsRun& SettingsScenario::startProgram(platform::sim::MessageResponder responder) {
    run_.reset();
    run_.emplace(folder_.path(), profile_);
    if (responder) run_->sim().setMessageResponder(std::move(responder));
    run_->start();
    return *run_;
}

} // namespace vostrel::settings_test

#include "tests/schedule/schedule_scenario.h"

#include <ostream>

#include "platform/window_description.h"
#include "schedule/poll.h"
#include "schedule/prompt_table.h"
#include "schedule/run_control.h"

namespace vostrel::test {
namespace {

using platform::ControlDescription;
using platform::ControlEvent;
using platform::ControlKind;
using schedule::Subject;

ControlDescription control(std::string_view name, ControlKind kind, std::string text = {}) {
    ControlDescription described;
    described.name = std::string(name);
    described.kind = kind;
    described.text = std::move(text);
    return described;
}

// Row 1..8 of a played path, 0 when it is none of the voice files.
int rowOfPath(std::string_view directory, const std::string& path) {
    for (std::size_t i = 0; i < schedule::kPromptTable.size(); ++i)
        if (path == std::string(directory) + std::string(schedule::kPromptTable[i].voiceFile))
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

void PrintTo(const PlayedPrompt& p, std::ostream* os) {
    const std::int64_t s = p.atMs / 1000;
    *os << "row " << p.row << " on day " << s / 86400 << " at " << (s / 3600) % 24 << ':' << (s / 60) % 60 << ':'
        << s % 60 << '.' << p.atMs % 1000;
}

ScheduleScenario::ScheduleScenario()
    : sim(platform::sim::SimPlatform::Options{{2026, 12, 8, 0, 0, 0, 0}, {}, nullptr, nullptr}) {
    recorder.installInto(table);
    recorder.setClock([this] { return static_cast<std::int64_t>(sim.nowMs()); });

    platform::WindowDescription d;
    d.title = "schedule";
    for (Subject s : schedule::kSubjects)
        d.controls.push_back(control(schedule::controlsOf(s).checkBox, ControlKind::CheckBox));
    d.controls.push_back(control("按钮2", ControlKind::Button, "开始运行"));
    // The timers in the order of the real window, which decides who goes first on a tie.
    for (auto it = schedule::kSubjects.rbegin(); it != schedule::kSubjects.rend(); ++it) {
        d.controls.push_back(control(schedule::controlsOf(*it).holdOffTimer, ControlKind::Timer));
        d.controls.push_back(control(schedule::controlsOf(*it).pollTimer, ControlKind::Timer));
    }
    d.bindings.push_back({"按钮2", ControlEvent::Click, [this] { schedule::startPauseClicked(*context); }});
    for (Subject s : schedule::kSubjects) {
        d.bindings.push_back({std::string(schedule::controlsOf(s).pollTimer), ControlEvent::Tick,
                              [this, s] { schedule::pollSubject(*context, s); }});
        d.bindings.push_back({std::string(schedule::controlsOf(s).holdOffTimer), ControlEvent::Tick, [this, s] {
                                  holdOffEnds.push_back({s, static_cast<std::int64_t>(sim.nowMs())});
                                  schedule::holdOffElapsed(*context, s);
                              }});
    }
    platform::Controls& controls = sim.windows().createMainWindow(d);
    sim.windows().showMainWindow();
    context.emplace(schedule::ScheduleContext{controls, sim.messages(), clock, times, slot,
                                              std::string(kProgramDirectory), state, record});
}

void ScheduleScenario::save(Subject subject, std::string startHour, std::string startMinute, std::string endHour,
                            std::string endMinute) {
    schedule::SubjectTimes& t = times[schedule::indexOf(subject)];
    t.startHour = std::move(startHour);
    t.startMinute = std::move(startMinute);
    t.endHour = std::move(endHour);
    t.endMinute = std::move(endMinute);
}

void ScheduleScenario::runUntil(std::int64_t momentMs) {
    ASSERT_GE(momentMs, static_cast<std::int64_t>(sim.nowMs())) << "that moment has passed";
    sim.advance(static_cast<std::uint64_t>(momentMs) - sim.nowMs());
}

bool ScheduleScenario::allSubjectTimersStopped() {
    for (Subject s : schedule::kSubjects)
        if (interval(schedule::controlsOf(s).pollTimer) != 0 || interval(schedule::controlsOf(s).holdOffTimer) != 0)
            return false;
    return true;
}

std::vector<PlayedPrompt> ScheduleScenario::prompts() const {
    std::vector<PlayedPrompt> played;
    for (const PlayerCall& c : recorder.callsOf(PlayerCall::Kind::Create)) {
        EXPECT_EQ(c.files.size(), 1u);
        EXPECT_EQ(c.repeatCount, 1);
        played.push_back({rowOfPath(kProgramDirectory, c.files.at(0)), c.atMs});
    }
    return played;
}

std::vector<std::pair<int, std::int64_t>> ScheduleScenario::rowsAndMinutes(const std::vector<PlayedPrompt>& prompts) {
    std::vector<std::pair<int, std::int64_t>> result;
    for (const PlayedPrompt& p : prompts) result.emplace_back(p.row, p.atMs / 60000);
    return result;
}

std::vector<std::pair<int, int>> expectedRowMinutes(int startMinuteOfDay, int endMinuteOfDay) {
    std::vector<std::pair<int, int>> rows;
    for (std::size_t i = 0; i < schedule::kPromptTable.size(); ++i) {
        const schedule::PromptRow& row = schedule::kPromptTable[i];
        const int reference = row.reference == schedule::PromptReference::Start ? startMinuteOfDay : endMinuteOfDay;
        const int moment = reference - row.minutesBefore;
        if (moment >= 0 && moment < 24 * 60) rows.emplace_back(static_cast<int>(i) + 1, moment);
    }
    return rows;
}

} // namespace vostrel::test

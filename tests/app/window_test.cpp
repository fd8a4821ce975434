// The main window layout is consistent: everything the focus order, the event table and the
// behaviours name exists with the right kind, and the places line up as operators see them. In
// the running program the time boxes and the information label do what the operator relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/main_window_layout.h"
#include "schedule/control_names.h"
#include "schedule/prompt_table.h"
#include "schedule/subjects.h"
#include "tests/app/program_fixture.h"

namespace vostrel::test {
namespace {

using platform::ControlKind;

std::map<std::string, platform::ControlDescription> byName(const platform::WindowDescription& d) {
    std::map<std::string, platform::ControlDescription> m;
    for (const auto& c : d.controls) EXPECT_TRUE(m.emplace(c.name, c).second) << "duplicate " << c.name;
    return m;
}

bool takesFocus(ControlKind k) {
    return k == ControlKind::Button || k == ControlKind::EditBox || k == ControlKind::CheckBox ||
           k == ControlKind::DropDownList;
}

TEST(WindowDescription, FocusOrderNamesFocusableControls) {
    const auto d = app::mainWindowLayout();
    const auto controls = byName(d);
    std::set<std::string> seen;
    for (const std::string& name : d.focusOrder) {
        ASSERT_TRUE(controls.count(name)) << name;
        EXPECT_TRUE(takesFocus(controls.at(name).kind)) << name;
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
    // Every control that can take the focus is in the order.
    for (const auto& [name, described] : controls) EXPECT_EQ(takesFocus(described.kind), seen.count(name) == 1) << name;
}

TEST(WindowDescription, ParentsAreGroupBoxesAndTimeBoxesLineUp) {
    const auto controls = byName(app::mainWindowLayout());
    for (const auto& [name, described] : controls)
        if (!described.parent.empty()) {
            EXPECT_EQ(controls.at(described.parent).kind, ControlKind::GroupBox) << name;
        }
    // 综合时间 sits on the window, at the place the group box would give (118, 96).
    const auto& group = controls.at("分组框1");
    const auto& combined = controls.at("综合时间");
    EXPECT_EQ(combined.left - group.left, 118);
    EXPECT_EQ(combined.top - group.top, 96);
}

class BoundWindow : public ProgramFixture {};

// Every time box takes a whole hh:mm as typed, and not a character more.
TEST_F(BoundWindow, TimeBoxesTakeFiveCharactersAsTyped) {
    placeVoiceFile();
    startProgram();
    for (const schedule::SubjectControls& subject : schedule::kSubjectControls) {
        ASSERT_TRUE(sim.tick(subject.checkBox)) << subject.checkBox;
        sim.advance(200); // the row shows on the next visibility tick
        ASSERT_TRUE(sim.clearAndType(subject.timeBox, "09:005")) << subject.timeBox;
        EXPECT_EQ(sim.window().text(subject.timeBox), "09:00") << subject.timeBox;
    }
}

// The information label tells the operator where the prompts must lie: once the window is up it
// shows its text, one line of which names the folder every prompt is played from.
TEST_F(BoundWindow, InformationLabelNamesTheVoiceFolder) {
    placeVoiceFile();
    startProgram();
    ASSERT_TRUE(sim.window().visible(schedule::kInformationLabel));
    const std::string shown = sim.window().text(schedule::kInformationLabel);
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = shown.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(shown.substr(from, at - from));
    lines.push_back(shown.substr(from));
    for (const schedule::PromptRow& prompt : schedule::kPromptTable) {
        const std::string_view folder = prompt.voiceFile.substr(0, prompt.voiceFile.rfind('/') + 1);
        const auto naming = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(folder) != std::string::npos;
        });
        EXPECT_EQ(naming, 1) << prompt.voiceFile;
    }
}

TEST_F(BoundWindow, EveryTimerAndButtonHasItsHandler) {
    placeVoiceFile();
    startProgram();
    const auto& d = sim.window().description();
    std::set<std::pair<std::string, platform::ControlEvent>> bound;
    for (const auto& b : d.bindings) {
        EXPECT_TRUE(b.handler) << b.control;
        EXPECT_TRUE(bound.emplace(b.control, b.event).second) << "bound twice: " << b.control;
    }
    for (const auto& c : d.controls) {
        if (c.kind == ControlKind::Timer) {
            EXPECT_TRUE(bound.count({c.name, platform::ControlEvent::Tick})) << c.name;
        }
        if (c.kind == ControlKind::Button) {
            EXPECT_TRUE(bound.count({c.name, platform::ControlEvent::Click})) << c.name;
        }
    }
}

} // namespace
} // namespace vostrel::test

// The simulated operator: typing limit, focus, modal boxes, the queued close, the wall clock.
#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"

namespace vostrel::platform {
namespace {

WindowDescription smallWindow() {
    WindowDescription d;
    d.title = "input";
    ControlDescription box;
    box.name = "box";
    box.kind = ControlKind::EditBox;
    box.maxChars = 5;
    box.text = "09:00";
    ControlDescription hidden = box;
    hidden.name = "hidden";
    hidden.visible = false;
    ControlDescription button;
    button.name = "button";
    button.kind = ControlKind::Button;
    ControlDescription label;
    label.name = "label";
    label.kind = ControlKind::TransparentLabel;
    d.controls = {box, hidden, button, label};
    d.focusOrder = {"box", "hidden", "button"};
    return d;
}

TEST(SimInput, TypingStopsAtTheLimitButTheProgramMaySetMore) {
    sim::SimPlatform sim;
    Controls& c = sim.windows().createMainWindow(smallWindow());
    sim.windows().showMainWindow();
    EXPECT_TRUE(sim.clearAndType("box", "12:345"));
    EXPECT_EQ(c.text("box"), "12:34");
    EXPECT_TRUE(sim.clearAndType("box", "０９：００６")); // characters, not bytes
    EXPECT_EQ(c.text("box"), "０９：００");
    c.setText("box", "a much longer text");
    EXPECT_EQ(c.text("box"), "a much longer text");
    EXPECT_FALSE(sim.type("hidden", "1"));
}

TEST(SimInput, TabSkipsHiddenControlsAndWraps) {
    sim::SimPlatform sim;
    Controls& c = sim.windows().createMainWindow(smallWindow());
    sim.windows().showMainWindow();
    EXPECT_EQ(c.focusedControl(), "box");
    sim.pressTab();
    EXPECT_EQ(c.focusedControl(), "button");
    sim.pressTab();
    EXPECT_EQ(c.focusedControl(), "box");
    sim.pressShiftTab();
    EXPECT_EQ(c.focusedControl(), "button");
}

TEST(SimInput, SameVisibilityCausesNoRepaint) {
    sim::SimPlatform sim;
    Controls& c = sim.windows().createMainWindow(smallWindow());
    const int before = sim.window().repaintCount("label");
    c.setVisible("label", true);
    EXPECT_EQ(sim.window().repaintCount("label"), before);
    c.setVisible("label", false);
    c.setVisible("label", false);
    EXPECT_EQ(sim.window().repaintCount("label"), before + 1);
}

TEST(SimInput, TheWindowTakesNoInputWhileABoxIsOpen) {
    sim::SimPlatform sim;
    int clicks = 0;
    WindowDescription d = smallWindow();
    d.bindings = {{"button", ControlEvent::Click, [&] { ++clicks; }}};
    sim.windows().createMainWindow(d);
    sim.windows().showMainWindow();
    bool clickedInside = true;
    sim.setMessageResponder([&](const sim::MessageRecord&, sim::SimPlatform& s) { clickedInside = s.click("button"); });
    sim.messages().showMessage("modal", kMessageIconStop, "");
    EXPECT_FALSE(clickedInside);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(sim.messageLog().back().title, kDefaultMessageTitle);
    EXPECT_TRUE(sim.click("button"));
    EXPECT_EQ(clicks, 1);
}

TEST(SimInput, CloseIsQueuedUntilTheLoopTakesIt) {
    sim::SimPlatform sim;
    Controls& c = sim.windows().createMainWindow(smallWindow());
    sim.windows().showMainWindow();
    c.closeMainWindow();
    EXPECT_TRUE(sim.windowExists());
    sim.loop().run();
    EXPECT_FALSE(sim.windowExists());
    EXPECT_FALSE(sim.runBudgetExhausted());
}

TEST(SimInput, WallClockCrossesMidnightAndDays) {
    sim::SimPlatform sim(sim::SimPlatform::Options{{2026, 12, 31, 23, 59, 59, 500}, "", nullptr, nullptr});
    sim.advance(600);
    const LocalDateTime t = sim.clock().localNow();
    EXPECT_EQ(t.year, 2027);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.millisecond, 100);
    sim.advanceToTime(8, 35);
    EXPECT_EQ(sim.clock().localNow().hour, 8);
    EXPECT_EQ(sim.clock().localNow().minute, 35);
    EXPECT_EQ(sim.clock().localNow().day, 1);
}

} // namespace
} // namespace vostrel::platform

// The six timer rules every backend keeps, run against the simulated backend in virtual time.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/timer_rules.h"

namespace vostrel::platform {
namespace {

ControlDescription timer(std::string name, std::int32_t interval) {
    ControlDescription c;
    c.name = std::move(name);
    c.kind = ControlKind::Timer;
    c.interval = interval;
    return c;
}

struct TimerWindow {
    explicit TimerWindow(sim::SimPlatform& p, std::int32_t startInterval = 0) : sim(p) {
        WindowDescription d;
        d.title = "timers";
        d.controls = {timer("T", startInterval), timer("U", 0)};
        d.bindings = {{"T", ControlEvent::Tick, [this] { onTick(); }}};
        controls = &p.windows().createMainWindow(d);
        p.windows().showMainWindow();
    }
    void onTick() {
        ticks.push_back(sim.nowMs());
        if (duringTick) duringTick();
    }
    sim::SimPlatform& sim;
    Controls* controls = nullptr;
    std::vector<std::uint64_t> ticks;
    std::function<void()> duringTick;
};

TEST(TimerRules, ChangeForEachRequestedInterval) {
    struct Case {
        std::int32_t current, requested;
        TimerChange expected;
    };
    const Case cases[] = {
        {0, 0, TimerChange::None},        {0, -5, TimerChange::None},
        {600, 600, TimerChange::None},    {600, 0, TimerChange::Stop},
        {600, -1, TimerChange::Stop},     {0, 600, TimerChange::Restart},
        {600, 601, TimerChange::Restart}, {283000, 61000, TimerChange::Restart},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timerChangeFor(c.current, c.requested), c.expected) << c.current << " -> " << c.requested;
}

TEST(TimerRules, FirstTickComesOneIntervalAfterTheSetting) {
    sim::SimPlatform sim;
    TimerWindow w(sim);
    sim.advance(250);
    w.controls->setInterval("T", 600);
    sim.advance(599);
    EXPECT_TRUE(w.ticks.empty());
    sim.advance(1);
    ASSERT_EQ(w.ticks.size(), 1u);
    EXPECT_EQ(w.ticks[0], 850u);
    sim.advance(1200);
    EXPECT_EQ(w.ticks, (std::vector<std::uint64_t>{850, 1450, 2050}));
}

TEST(TimerRules, ZeroAndNegativeStop) {
    sim::SimPlatform sim;
    TimerWindow w(sim, 100);
    sim.advance(250);
    w.controls->setInterval("T", -3);
    EXPECT_EQ(w.controls->interval("T"), 0);
    sim.advance(1000);
    EXPECT_EQ(w.ticks.size(), 2u);
    w.controls->setInterval("T", 100);
    w.controls->setInterval("T", 0);
    sim.advance(1000);
    EXPECT_EQ(w.ticks.size(), 2u);
}

TEST(TimerRules, SettingTheSameValueKeepsTheCountdown) {
    sim::SimPlatform sim;
    TimerWindow w(sim);
    w.controls->setInterval("T", 1000);
    sim.advance(700);
    w.controls->setInterval("T", 1000); // no restart: the tick still comes at 1000
    sim.advance(300);
    EXPECT_EQ(w.ticks, (std::vector<std::uint64_t>{1000}));
}

TEST(TimerRules, ADifferentValueRestartsFromTheSetting) {
    sim::SimPlatform sim;
    TimerWindow w(sim);
    w.controls->setInterval("T", 1000);
    sim.advance(700);
    w.controls->setInterval("T", 500);
    sim.advance(1000);
    EXPECT_EQ(w.ticks, (std::vector<std::uint64_t>{1200, 1700}));
}

TEST(TimerRules, TimersWithAnIntervalStartWithTheWindow) {
    sim::SimPlatform sim;
    TimerWindow w(sim, 200);
    EXPECT_EQ(w.controls->interval("T"), 200);
    EXPECT_EQ(w.controls->interval("U"), 0);
    sim.advance(1000);
    EXPECT_EQ(w.ticks.size(), 5u);
}

TEST(TimerRules, TicksDoNotPileUpWhileAHandlerIsBusy) {
    sim::SimPlatform sim;
    TimerWindow w(sim, 100);
    bool busy = true;
    // The first tick's handler waits 1050 ms without processing events: ten periods pass.
    w.duringTick = [&] {
        if (!busy) return;
        busy = false;
        sim.busy(1050);
    };
    sim.advance(100);
    ASSERT_EQ(w.ticks.size(), 1u);
    const std::uint64_t handlerEnd = sim.nowMs();
    ASSERT_GE(handlerEnd, 1100u);
    sim.advance(1);
    // One pending tick is delivered at once, not ten.
    EXPECT_EQ(w.ticks.size(), 2u);
    sim.advance(99);
    EXPECT_EQ(w.ticks.size(), 3u);
}

TEST(TimerRules, TicksRunInsideAnOpenMessageBox) {
    sim::SimPlatform sim;
    TimerWindow w(sim, 100);
    sim.setMessageResponder([](const sim::MessageRecord&, sim::SimPlatform& s) { s.advance(550); });
    sim.messages().showMessage("open", kMessageOk, "t");
    EXPECT_EQ(w.ticks.size(), 5u);
    ASSERT_EQ(sim.messageLog().size(), 1u);
    EXPECT_EQ(sim.messageLog()[0].title, "t");
}

TEST(TimerRules, TicksRunInsideAWaitThatProcessesEvents) {
    sim::SimPlatform sim;
    TimerWindow w(sim, 100);
    const std::uint64_t end = sim.clock().tickCountMs() + 1000;
    while (sim.clock().tickCountMs() <= end) {
        sim.loop().waitForEvents(static_cast<std::int32_t>(end + 1 - sim.clock().tickCountMs()));
        sim.loop().processPendingEvents();
    }
    EXPECT_EQ(w.ticks.size(), 10u);
}

} // namespace
} // namespace vostrel::platform

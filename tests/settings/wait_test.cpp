// wait() against a scripted event loop: it keeps dispatching, returns just past its deadline,
// and blocks between events instead of spinning.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "settings/wait.h"

namespace vostrel::settings {
namespace {

// A clock and event loop in one: events are due at given ticks; waitForEvents moves the
// clock to the next event or the end of the wait.
class ScriptedLoop final : public platform::EventLoop, public platform::Clock {
public:
    std::uint64_t now = 5000;
    std::vector<std::uint64_t> eventsDue; // ticks, ascending
    std::vector<std::uint64_t> dispatchedAt;
    int waits = 0;

    void run() override {}
    void processPendingEvents() override {
        while (next_ < eventsDue.size() && eventsDue[next_] <= now) {
            dispatchedAt.push_back(now);
            ++next_;
        }
    }
    void waitForEvents(std::int32_t ms) override {
        ++waits;
        if (ms <= 0) return;
        std::uint64_t until = now + static_cast<std::uint64_t>(ms);
        if (next_ < eventsDue.size() && eventsDue[next_] < until) until = eventsDue[next_];
        now = until;
    }
    platform::LocalDateTime localNow() const override { return {}; }
    std::uint64_t tickCountMs() const override { return now; }

private:
    std::size_t next_ = 0;
};

TEST(Wait, ReturnsOnceTheTickCountHasPassedTheDeadline) {
    ScriptedLoop loop;
    wait(loop, loop, 3000);
    EXPECT_EQ(loop.now, 8001u);
    EXPECT_LE(loop.waits, 2); // blocked, did not poll
}

TEST(Wait, DispatchesEveryEventWhenItBecomesDue) {
    ScriptedLoop loop;
    loop.eventsDue = {5200, 5400, 7999, 8000, 8001, 9000};
    wait(loop, loop, 3000);
    EXPECT_EQ(loop.dispatchedAt, (std::vector<std::uint64_t>{5200, 5400, 7999, 8000, 8001}));
    EXPECT_EQ(loop.now, 8001u);
    EXPECT_LE(loop.waits, 6);
}

TEST(Wait, ZeroOrLessReturnsAtOnceWithoutDispatching) {
    ScriptedLoop loop;
    loop.eventsDue = {5000};
    wait(loop, loop, 0);
    wait(loop, loop, -10);
    EXPECT_TRUE(loop.dispatchedAt.empty());
    EXPECT_EQ(loop.now, 5000u);
}

} // namespace
} // namespace vostrel::settings

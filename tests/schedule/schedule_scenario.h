#pragma once
// A day of the schedule in virtual time: the simulated platform with the controls the schedule
// works on (the four check boxes, 按钮2 and the eight subject timers, bound to the schedule's
// handlers as the main window binds them), a recording player behind the play command, and
// helpers to read the prompts played. Virtual time starts at midnight of day 0; every stamp is
// milliseconds since then.
#include <gtest/gtest.h>

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/play_command.h"
#include "platform/sim/sim_platform.h"
#include "tests/schedule/collected_record.h"
#include "schedule/schedule_context.h"
#include "schedule/subjects.h"
#include "tests/audio/recording_player.h"

namespace vostrel::test {

// Wall-clock reads counted, so a test can see that a poll did not look at the clock.
class CountingClock final : public platform::Clock {
public:
    explicit CountingClock(const platform::Clock& inner) : inner_(inner) {}
    platform::LocalDateTime localNow() const override {
        ++reads_;
        return inner_.localNow();
    }
    std::uint64_t tickCountMs() const override { return inner_.tickCountMs(); }
    int reads() const { return reads_; }

private:
    const platform::Clock& inner_;
    mutable int reads_ = 0;
};

constexpr std::int64_t at(int day, int hour, int minute, int second = 0, int millisecond = 0) {
    return (((day * 24LL + hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
}

struct PlayedPrompt {
    int row;           // 1..8, from the voice file's name
    std::int64_t atMs; // when the player was created
    bool operator==(const PlayedPrompt&) const = default;
};
void PrintTo(const PlayedPrompt& p, std::ostream* os);

struct HoldOffEnd {
    schedule::Subject subject;
    std::int64_t atMs;
};

class ScheduleScenario : public ::testing::Test {
protected:
    static constexpr std::string_view kProgramDirectory = "D:\\Tools";

    ScheduleScenario();

    // Stores the texts as an accepted save leaves them.
    void save(schedule::Subject subject, std::string startHour, std::string startMinute, std::string endHour,
              std::string endMinute);
    // Lets virtual time run until the given moment (which must not have passed).
    void runUntil(std::int64_t momentMs);
    bool clickStartPause() { return sim.click("按钮2"); }
    // The operator clicks 按钮2 at the given moment.
    void clickStartPauseAt(std::int64_t momentMs) {
        runUntil(momentMs);
        clickStartPause();
    }
    std::string caption() { return sim.window().text("按钮2"); }
    std::int32_t interval(std::string_view timer) { return sim.window().interval(timer); }
    // True when none of the eight subject timers runs.
    bool allSubjectTimersStopped();

    // Every prompt whose player was created, in order.
    std::vector<PlayedPrompt> prompts() const;
    // Row and minute (counted from midnight of day 0) of each prompt, for checks that care
    // about the minute a prompt sounded in but not the millisecond.
    static std::vector<std::pair<int, std::int64_t>> rowsAndMinutes(const std::vector<PlayedPrompt>& prompts);

    platform::sim::SimPlatform sim;
    audio::PlayerEntryTable table;
    RecordingPlayer recorder;
    schedule::SubjectTimesTable times = schedule::initialSubjectTimes();
    schedule::ScheduleState state;
    CollectedRecord record;
    audio::PlaySlot slot{table};
    CountingClock clock{sim.clock()};
    std::optional<schedule::ScheduleContext> context;
    std::vector<HoldOffEnd> holdOffEnds;
};

// Row and minute of the day of each prompt of a subject starting and ending at the given
// minutes of the day, leaving out the moments that fall outside the day.
std::vector<std::pair<int, int>> expectedRowMinutes(int startMinuteOfDay, int endMinuteOfDay);

} // namespace vostrel::test

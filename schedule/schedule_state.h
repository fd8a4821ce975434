#pragma once
// What the schedule remembers during a run, so that no prompt is skipped, doubled or cut off:
// the prompts already dealt with, the ones waiting for the device, the one sounding, and from
// when on each row's prompts count as missed if the program could not poll in their minute.
// Owned by the application; the poll, the run control and the save change it on the UI thread.
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "audio/play_outcome.h"
#include "schedule/exam_prompts.h"

namespace vostrel::schedule {

// A prompt that falls due while another sounds waits at most this long after its moment; one
// the program could not poll in time is caught up within it too.
inline constexpr std::int64_t kLatestCatchUpSeconds = 120;
// A prompt holds the device for others at most this long (a device that hangs never lets go).
inline constexpr std::int64_t kLongestPromptSeconds = 90;

struct SoundingPrompt {
    ExamPrompt prompt;
    std::int64_t began = 0; // moment the play was requested
};

// The latest prompt dealt with, for the window's status line.
struct LastPrompt {
    ExamPrompt prompt;
    bool missed = false; // never played (the record says why)
    audio::PlayOutcome outcome;
};

// A row's prompts of the exams starting yesterday and today, made once for its times and the
// day: a poll comes every 600 ms and must cost next to nothing.
struct RowPrompts {
    SubjectTimes times;
    CalendarDate today;
    bool made = false;
    std::vector<ExamPrompt> prompts;
    // Per prompt: dealt with, or never to be caught up (its minute began before the row's
    // polling did); both stay so, so the poll need not look at it again.
    std::vector<bool> settled;
};

struct ScheduleState {
    std::set<PromptKey> handled; // played or given up: never again
    std::vector<ExamPrompt> waiting;
    std::optional<SoundingPrompt> sounding;
    std::optional<LastPrompt> last;
    // Per row: prompts whose minute began before this moment are not caught up (the run or the
    // exam started later, or the row was ticked later). Unset until the row is first polled.
    std::array<std::optional<std::int64_t>, 4> pollingSince{};
    std::array<bool, 4> seenUnticked{};
    std::array<RowPrompts, 4> rowPrompts{};
};

} // namespace vostrel::schedule

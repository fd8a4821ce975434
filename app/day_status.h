#pragma once
// The window's status lines and what they watch through the day, once a second:
// - the next prompt while the run is on (透明标签4);
// - what needs the operator's eye (透明标签5, in red): a prompt that failed or was missed until a
//   later one plays well, voice files that would not play (while the run is off, and for a minute
//   after each start), a record that cannot be written, a step of the wall clock, a clock no time
//   server keeps right; otherwise how the last prompt ended, in black.
// Playback failures never open a message box: in an exam room a modal box is worse than none.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/controls.h"
#include "record/record_writer.h"
#include "schedule/schedule_context.h"

namespace vostrel::app {

// Results of the voice files' check, handed from the writer's thread to the UI thread.
struct VoiceCheckResults {
    std::mutex mutex;
    std::optional<std::vector<std::string>> problems; // new results not yet shown
};

struct TimedNote {
    std::string text;
    std::int64_t until = 0; // moment (schedule/calendar.h)
};

struct DayStatus {
    std::optional<std::int64_t> clockOffsetMs; // wall clock less tick count at the last look
    std::optional<TimedNote> clockStep;
    std::optional<TimedNote> recordProblem;
    bool clockUnsynchronised = false;
    std::vector<std::string> voiceProblems;   // "第5条语音文件缺失"
    std::int64_t voiceProblemsShownUntil = 0; // while running; always while the run is off
    std::shared_ptr<VoiceCheckResults> voiceChecks = std::make_shared<VoiceCheckResults>();
};

struct StatusContext {
    platform::Controls& controls;
    platform::Clock& clock;
    schedule::ScheduleContext& schedule;
    record::RecordWriter& writer;
    DayStatus& status;
};

// Tick of 时钟2, after the clock label: the sounding prompt is settled, the clock, the record
// and the voice files' check are looked at, and the status lines are drawn afresh.
void watchTheDay(StatusContext& context);

// Checks all eight voice files on the writer's thread; their problems reach the status line (and
// the record) at the next tick. At start and at every start click.
void checkVoiceFiles(StatusContext& context);

} // namespace vostrel::app

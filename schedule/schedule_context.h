#pragma once
// Everything the schedule's handlers work on. The application owns each part and binds the
// handlers to the events of the main window with one context.
#include <string>

#include "audio/play_command.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "record/record_sink.h"
#include "schedule/schedule_state.h"
#include "schedule/subject_times.h"

namespace vostrel::schedule {

struct ScheduleContext {
    platform::Controls& controls;
    platform::MessageBoxes& messages;
    platform::Clock& clock;
    const SubjectTimesTable& times; // written by the save, read afresh on every poll
    audio::PlaySlot& player;
    std::string programDirectory; // no trailing separator; voice file names begin with one
    ScheduleState& state;         // mutable memory of the run, even for the const context of a query
    record::RecordSink& record;
};

} // namespace vostrel::schedule

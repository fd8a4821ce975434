#pragma once
#include "schedule/schedule_context.h"
#include "schedule/subjects.h"

namespace vostrel::schedule {

// Tick of the subject's polling timer. Nothing happens while the subject's row is unticked (the
// clock is not even read). Otherwise the poll
// 1. settles the sounding prompt: once it has ended, its outcome goes into the record;
// 2. looks at every ticked row for prompts that have come due and were not dealt with yet:
//    in their minute, or up to two minutes late when the program could not poll in their minute
//    (the clock stepped forward, the computer slept, the program stalled). A prompt later than
//    that is given up and recorded as missed; of several prompts of one exam due at once only
//    the latest sounds;
// 3. plays the first waiting prompt (by moment, then by row) once the device is free, and that
//    row holds off: its hold-off timer gets the prompt's hold-off and its polling timer stops.
// Each prompt of an exam sounds at most once; one that would still have to wait more than two
// minutes after its moment is given up too.
void pollSubject(ScheduleContext& context, Subject subject);

// Settles the sounding prompt now (the pause and the program's end call it right after stopping
// the sound).
void settleSoundingPrompt(ScheduleContext& context);

// The next prompt due of the ticked rows' exams, after the present moment; none when the day's
// prompts are all over.
std::optional<ExamPrompt> nextPrompt(const ScheduleContext& context);

} // namespace vostrel::schedule

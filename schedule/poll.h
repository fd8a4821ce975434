#pragma once
#include "schedule/schedule_context.h"
#include "schedule/subjects.h"

namespace vostrel::schedule {

// Tick of the subject's polling timer. When the subject is ticked and the current minute of
// the day is one of its prompt moments, the prompt is played and the subject holds off: its
// hold-off timer gets the prompt's hold-off and its polling timer stops. The schedule keeps no
// memory of prompts already played; the hold-off alone keeps a prompt from repeating.
void pollSubject(ScheduleContext& context, Subject subject);

} // namespace vostrel::schedule

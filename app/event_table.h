#pragma once
// Which handler runs for which control event. Every handler runs on the UI thread without
// arguments; the contexts it works on are bound here.
#include <vector>

#include "app/behaviours.h"
#include "app/day_status.h"
#include "app/plan_page.h"
#include "app/subject_choice.h"
#include "platform/power.h"
#include "platform/window_description.h"
#include "schedule/schedule_context.h"
#include "settings/settings_actions.h"

namespace vostrel::app {

struct HandlerContexts {
    BehaviourContext& behaviours;
    schedule::ScheduleContext& schedule;
    settings::SettingsContext& settings;
    platform::PowerRequests& power;
    ChoiceContext& choice;
    PlanContext& plan;
    StatusContext& status;
};

// Bindings for every control event of the main window. The contexts must outlive the window.
std::vector<platform::EventBinding> eventTable(HandlerContexts contexts);

} // namespace vostrel::app

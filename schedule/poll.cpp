#include "schedule/poll.h"

#include <cmath>
#include <string>

#include "schedule/minute_of_day.h"
#include "schedule/prompt_table.h"
#include "schedule/to_integer.h"

namespace vostrel::schedule {
namespace {

constexpr double kMatchTolerance = 1e-7; // minutes

// The row's moment as minute of the day; outside 0..1439 it simply never matches.
double momentOf(const PromptRow& row, const SubjectTimes& times) {
    const bool fromStart = row.reference == PromptReference::Start;
    const std::string& hour = fromStart ? times.startHour : times.endHour;
    const std::string& minute = fromStart ? times.startMinute : times.endMinute;
    const double reference = static_cast<double>(toInteger(hour)) * 60.0 + static_cast<double>(toInteger(minute));
    return reference - row.minutesBefore;
}

} // namespace

void pollSubject(ScheduleContext& context, Subject subject) {
    const SubjectControls& controls = controlsOf(subject);
    if (!context.controls.ticked(controls.checkBox)) return;

    const int now = minuteOfDay(context.clock);
    // Every row is looked at, even after one has fired: when several fire in one poll, the
    // last one is heard and its hold-off stands.
    for (const PromptRow& row : kPromptTable) {
        if (std::fabs(now - momentOf(row, context.times[indexOf(subject)])) > kMatchTolerance) continue;
        context.player.StopPlayback();
        const std::string path = context.programDirectory + std::string(row.voiceFile);
        context.player.PlayMp3(1, {path});
        context.controls.setInterval(controls.holdOffTimer, row.holdOffMs);
        context.controls.setInterval(controls.pollTimer, 0);
    }
}

} // namespace vostrel::schedule

#include "schedule/minute_of_day.h"

namespace vostrel::schedule {

int minuteOfDay(const platform::Clock& clock) {
    const platform::LocalDateTime now = clock.localNow();
    return now.hour * 60 + now.minute;
}

} // namespace vostrel::schedule

#pragma once
#include "platform/clock.h"

namespace vostrel::schedule {

// The local wall-clock minute of the day, 0 to 1439; seconds are ignored, so a prompt moment
// lasts the whole minute.
int minuteOfDay(const platform::Clock& clock);

} // namespace vostrel::schedule

#pragma once
// Waiting on the UI thread while the window stays responsive.
#include <cstdint>

#include "platform/clock.h"
#include "platform/event_loop.h"

namespace vostrel::settings {

// Returns once the tick count has gone past its value at the call plus milliseconds (0 or
// less: at once). Meanwhile it dispatches every window event as it becomes due, so handlers
// (timer ticks, clicks) run nested inside this call; between events it blocks on the event
// loop instead of spinning.
void wait(platform::EventLoop& loop, const platform::Clock& clock, std::int32_t milliseconds);

} // namespace vostrel::settings

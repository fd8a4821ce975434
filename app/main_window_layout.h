#pragma once
// The layout of this program's main window as data: names, kinds, parents, places, captions, initial
// visibility, fonts, timers and the focus order. Behaviours address controls by these names;
// the event table (event_table.h) adds the handlers.
#include "platform/window_description.h"

namespace vostrel::app {

inline constexpr std::string_view kWindowTitle = "Vostrel播放器_高中版V1.0";

// The window without event bindings.
platform::WindowDescription mainWindowLayout();

} // namespace vostrel::app

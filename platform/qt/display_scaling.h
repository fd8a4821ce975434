#pragma once
// The window follows the desktop's display scale: QT_SCALE_FACTOR, Xft.dpi (the desktop's
// "scale" setting on X11) or the screen's device pixel ratio on Wayland. The window description
// stays in pixels at 100%; Qt multiplies every position, size and pixel font height by the
// scale, fractional scales (125%, 150%) included. Call before the QApplication is made.
namespace vostrel::platform::qt {

void followDesktopScale();

} // namespace vostrel::platform::qt

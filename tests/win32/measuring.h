#pragma once
// Measurements of controls as the operator sees them, shared by the scaling tests.
#include <windows.h>

namespace vostrel::win32_test {

bool withinAPixel(long actual, int expected);

// The control's rectangle relative to its parent's client area.
RECT placeInParent(HWND control);

// The metrics of the font the control really uses.
TEXTMETRICW fontMetrics(HWND control);

// The widest line of the control's text in its own font: a wrapped label's lines each fit,
// so none of them wraps onto a line of its own and pushes the last one out of the label.
int captionWidth(HWND control);

} // namespace vostrel::win32_test

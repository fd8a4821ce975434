#pragma once
// The input form's layout: the explanation across the top, one label and box per row, OK and
// Cancel at the bottom right, all measured in the dialog's own font (which follows the system's
// DPI), the dialog sized to hold them and centred on its owner.
#include <windows.h>

namespace vostrel::platform::win32 {

// The form's controls by id: the explanation, then per field a label and a box, then IDOK and
// IDCANCEL.
inline constexpr WORD kFormExplanationId = 10;
inline constexpr WORD kFormFirstLabelId = 100;
inline constexpr WORD kFormFirstBoxId = 200;

// Places every control of a form with `fieldCount` fields, sizes the dialog around them and
// centres it on `owner` (on the screen without one), inside the screen's work area.
void layOutFormDialog(HWND dialog, int fieldCount, HWND owner);

} // namespace vostrel::platform::win32

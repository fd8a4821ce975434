#pragma once
// Window classes of our own for the two control kinds the system's classes lack, and the
// group box's subclass that lets it act as a parent.
#include <windows.h>

namespace vostrel::platform::win32 {

inline constexpr wchar_t kLabelClass[] = L"VostrelTransparentLabel";
inline constexpr wchar_t kPictureClass[] = L"VostrelPictureBox";

// Registers both classes once per process.
bool registerControlClasses(HINSTANCE instance);

// Label: DrawText flags (alignment, wrapping) kept with the window.
void setLabelDrawFlags(HWND label, UINT drawTextFlags);

// Label: its text in the alert colour (red) or in black. Setting the state it has already
// changes nothing; a visible label is repainted at once, from what lies behind it.
void setLabelAlert(HWND label, bool alert);

// Picture box: the bitmap it tiles from its top-left corner; not owned by the window.
void setPictureBitmap(HWND picture, HBITMAP bitmap);

// Group box as a parent: erases its own inside (the system's group box leaves that to its
// parent, which would leave old label text behind) and passes its children's notifications
// (clicks, colours) on to the top-level window.
void makeGroupBoxAParent(HWND groupBox);

} // namespace vostrel::platform::win32

#pragma once
// The system's combo box as a closed drop-down list (CBS_DROPDOWNLIST): its items, the chosen
// one, and its layout. The window description gives the closed field's height; a combo box's
// window height is that of the field and the dropped list together, so the layout sets both.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vostrel::platform::win32 {

inline constexpr DWORD kDropDownListStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

// Replaces the items; none is chosen afterwards.
void fillDropDown(HWND list, const std::vector<std::string>& items);

// The index of the item whose text is exactly `text` (case and all), -1 when none has it.
int exactItemIndex(const std::vector<std::string>& items, std::string_view text);

// Chooses the item at `index` (-1: none). The system sends no notification for this.
void chooseDropDownItem(HWND list, int index);
int chosenDropDownItem(HWND list);
bool dropDownOpen(HWND list);

// Places the closed field at `field` (parent coordinates) and sizes the dropped list for the
// items in the list's current font: every item whole, all of them (up to kMaxVisibleItems)
// without a scroll bar where the screen has room.
void layOutDropDown(HWND list, const RECT& field);

inline constexpr int kMaxVisibleItems = 13;

} // namespace vostrel::platform::win32

#include "platform/win32/drop_down_list.h"

#include <algorithm>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

// CB_SETMINVISIBLE: common controls 6 on Windows Vista and later size the dropped list by this
// count rather than by the window's height; older systems ignore it and use the height.
constexpr UINT kSetMinVisibleMessage = 0x1701;

LRESULT send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(list, message, wParam, lParam);
}

// The widest item in the list's own font.
int widestItem(HWND list) {
    const WindowFontDc dc(list);
    if (!dc.get()) return 0;
    int widest = 0;
    const auto count = static_cast<int>(send(list, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        const auto length = static_cast<int>(send(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i)));
        if (length <= 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        send(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        widest = std::max(widest, dc.width(std::wstring_view(text.data(), static_cast<std::size_t>(length))));
    }
    return widest;
}

int closedHeight(HWND list) {
    RECT closed{};
    GetWindowRect(list, &closed);
    return static_cast<int>(closed.bottom - closed.top);
}

// The field is its item height plus a frame of the system's, and the item height read back is
// not always the one set (Wine adds two pixels): the item height is corrected until the closed
// field has the height wanted.
void fitFieldTo(HWND list, int fieldHeight) {
    constexpr int kAttempts = 3;
    auto itemHeight = static_cast<int>(send(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
    for (int attempt = 0; attempt < kAttempts && closedHeight(list) != fieldHeight; ++attempt) {
        itemHeight += fieldHeight - closedHeight(list);
        send(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    }
}

} // namespace

void fillDropDown(HWND list, const std::vector<std::string>& items) {
    send(list, CB_RESETCONTENT);
    for (const std::string& item : items) send(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
}

int exactItemIndex(const std::vector<std::string>& items, std::string_view text) {
    // Not CB_FINDSTRINGEXACT: it ignores case.
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

void chooseDropDownItem(HWND list, int index) { send(list, CB_SETCURSEL, static_cast<WPARAM>(index)); }

int chosenDropDownItem(HWND list) {
    const LRESULT chosen = send(list, CB_GETCURSEL);
    return chosen == CB_ERR ? -1 : static_cast<int>(chosen);
}

bool dropDownOpen(HWND list) { return send(list, CB_GETDROPPEDSTATE) != 0; }

void layOutDropDown(HWND list, const RECT& field) {
    const int width = field.right - field.left;
    const int fieldHeight = field.bottom - field.top;
    constexpr UINT kQuiet = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    SetWindowPos(list, nullptr, field.left, field.top, width, fieldHeight, kQuiet);
    fitFieldTo(list, fieldHeight);

    const auto count = static_cast<int>(send(list, CB_GETCOUNT));
    const int visible = std::clamp(count, 1, kMaxVisibleItems);
    const auto itemHeight = static_cast<int>(send(list, CB_GETITEMHEIGHT, 0));
    send(list, kSetMinVisibleMessage, static_cast<WPARAM>(visible));
    // The window's height beyond the field is the dropped list's: the items and the list's border.
    const int listHeight = visible * itemHeight + 2 * GetSystemMetrics(SM_CYEDGE);
    SetWindowPos(list, nullptr, 0, 0, width, fieldHeight + listHeight, kQuiet | SWP_NOMOVE);

    const int scrollBar = count > kMaxVisibleItems ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int itemsWidth = widestItem(list) + 4 * GetSystemMetrics(SM_CXEDGE) + scrollBar;
    send(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(width, itemsWidth)));
}

} // namespace vostrel::platform::win32

#include "platform/win32/control_classes.h"

#include <string>

#include "platform/win32/gdi_handles.h"

namespace vostrel::platform::win32 {
namespace {

// Extra window bytes of a label: its font, its DrawText flags, whether it is in alert.
constexpr int kLabelFontSlot = 0;
constexpr int kLabelFlagsSlot = static_cast<int>(sizeof(LONG_PTR));
constexpr int kLabelAlertSlot = 2 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kLabelSlots = 3;
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kAlertColour = RGB(255, 0, 0);
// Extra window bytes of a picture box: its bitmap.
constexpr int kPictureBitmapSlot = 0;

// Where a subclassed group box keeps the system's own button procedure.
constexpr wchar_t kOriginalProcProperty[] = L"VostrelOriginalProc";

// Repaints the part of the parent that lies behind a window, then everything on top of it.
// Siblings stacked above the window are left out: they cover it, and repainting them (the
// picture over the clock label, every second) would only flicker.
void repaintBehind(HWND window) {
    HWND parent = GetParent(window);
    if (!parent) return;
    RECT area{};
    GetWindowRect(window, &area);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    GdiObject<HRGN> region(CreateRectRgnIndirect(&area));
    if (!region) return;
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (!IsWindowVisible(above)) continue;
        RECT covered{};
        GetWindowRect(above, &covered);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&covered), 2);
        GdiObject<HRGN> cover(CreateRectRgnIndirect(&covered));
        if (cover) CombineRgn(region.get(), region.get(), cover.get(), RGN_DIFF);
    }
    RedrawWindow(parent, nullptr, region.get(),
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}

LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;            // no background of its own: the parent's shows through
    case WM_NCHITTEST: return HTTRANSPARENT; // clicks reach whatever lies behind
    case WM_SETFONT:
        SetWindowLongPtrW(window, kLabelFontSlot, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT: return GetWindowLongPtrW(window, kLabelFontSlot);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        // Old text must leave no trace: the parent paints over it before the new text is drawn.
        if (IsWindowVisible(window)) repaintBehind(window);
        return result;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        const int length = GetWindowTextLengthW(window);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(window, kLabelFontSlot));
        HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetWindowLongPtrW(window, kLabelAlertSlot) ? kAlertColour : kTextColour);
        const auto flags = static_cast<UINT>(GetWindowLongPtrW(window, kLabelFlagsSlot));
        DrawTextW(dc, text.c_str(), length, &client, flags);
        SelectObject(dc, oldFont);
        EndPaint(window, &paint);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, kPictureBitmapSlot));
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info) && info.bmWidth > 0 && info.bmHeight > 0) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        RECT client{};
        GetClientRect(window, &client);
        // At its own size from the top-left corner, repeated to fill the box.
        for (int y = 0; y < client.bottom; y += info.bmHeight) {
            for (int x = 0; x < client.right; x += info.bmWidth) {
                BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            }
        }
        SelectObject(source, old);
        DeleteDC(source);
    }
    EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK groupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProcProperty));
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // Children of the group box behave as if they sat on the main window itself.
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(window, kOriginalProcProperty);
        break;
    default: break;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

} // namespace

bool registerControlClasses(HINSTANCE instance) {
    WNDCLASSEXW label{};
    label.cbSize = sizeof(label);
    label.lpfnWndProc = labelProc;
    label.hInstance = instance;
    label.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    label.cbWndExtra = kLabelSlots * static_cast<int>(sizeof(LONG_PTR));
    label.lpszClassName = kLabelClass;

    WNDCLASSEXW picture{};
    picture.cbSize = sizeof(picture);
    picture.lpfnWndProc = pictureProc;
    picture.hInstance = instance;
    picture.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    picture.hbrBackground = GetSysColorBrush(COLOR_BTNFACE); // the default background
    picture.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    picture.lpszClassName = kPictureClass;

    const bool labelOk = RegisterClassExW(&label) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    const bool pictureOk = RegisterClassExW(&picture) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return labelOk && pictureOk;
}

void setLabelDrawFlags(HWND label, UINT drawTextFlags) {
    SetWindowLongPtrW(label, kLabelFlagsSlot, static_cast<LONG_PTR>(drawTextFlags));
}

void setLabelAlert(HWND label, bool alert) {
    if ((GetWindowLongPtrW(label, kLabelAlertSlot) != 0) == alert) return; // no repaint, no flicker
    SetWindowLongPtrW(label, kLabelAlertSlot, alert ? 1 : 0);
    // Redrawn from what lies behind it: the old colour's smoothed edges must not show through.
    if (IsWindowVisible(label)) repaintBehind(label);
}

void setPictureBitmap(HWND picture, HBITMAP bitmap) {
    SetWindowLongPtrW(picture, kPictureBitmapSlot, reinterpret_cast<LONG_PTR>(bitmap));
    InvalidateRect(picture, nullptr, TRUE);
}

void makeGroupBoxAParent(HWND groupBox) {
    const LONG_PTR original = GetWindowLongPtrW(groupBox, GWLP_WNDPROC);
    SetPropW(groupBox, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(groupBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&groupBoxProc));
}

} // namespace vostrel::platform::win32

// The main window at the display's scale (the test runs once per DPI setting): the window and
// every control are the description's pixels times the scale, and every caption fits the width
// of its control in the font the control really uses; the same once the window has moved to a
// monitor of another scale. Prints the measurements for the artifacts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window_layout.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

using platform::ControlDescription;
using platform::ControlKind;

bool withinAPixel(long actual, int expected) { return std::labs(actual - expected) <= 1; }

// The control's rectangle relative to its parent's client area.
RECT placeInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// How wide the control's client area is where its parent does not clip it.
int visibleClientWidth(HWND control) {
    RECT client{}, parentClient{};
    GetClientRect(control, &client);
    GetClientRect(GetParent(control), &parentClient);
    const RECT place = placeInParent(control);
    const long clipped = place.right > parentClient.right ? place.right - parentClient.right : 0;
    return static_cast<int>(client.right - clipped);
}

// Room the control's own drawing leaves for its caption: a check box draws its box first, a
// button and a group box their frame.
int captionRoom(HWND control, ControlKind kind, int dpi) {
    const int width = visibleClientWidth(control);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    switch (kind) {
    case ControlKind::CheckBox: return width - MulDiv(13 + 4, dpi, platform::kBaseDpi);
    case ControlKind::Button: return width - 4 * edge;
    case ControlKind::GroupBox: return width - MulDiv(16, dpi, platform::kBaseDpi);
    case ControlKind::EditBox: return width - 2 * edge;
    default: return width;
    }
}

// The widest line of the caption in the control's own font: a wrapped label's lines each fit,
// so none of them wraps onto a line of its own and pushes the last one out of the label.
int captionWidth(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str() + start, static_cast<int>(end - start), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
        start = end + 2;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return widest;
}

void checkControl(const platform::win32::Win32Window& host, const ControlDescription& described, int dpi) {
    HWND control = host.controlWindow(described.name);
    check(control != nullptr, described.name + " exists");
    if (!control) return;
    const platform::DisplayScale scale = host.scale();
    const RECT place = placeInParent(control);
    const bool placed = withinAPixel(place.left, scale.pixels(described.left)) &&
                        withinAPixel(place.top, scale.pixels(described.top)) &&
                        withinAPixel(place.right - place.left, scale.pixels(described.width)) &&
                        withinAPixel(place.bottom - place.top, scale.pixels(described.height));
    check(placed, described.name + ": rectangle is the described one times the scale");
    if (described.kind == ControlKind::PictureBox) return;

    const int width = captionWidth(control);
    const int room = captionRoom(control, described.kind, dpi);
    const bool fits = width <= room;
    std::printf("  %-10s at (%ld,%ld) %ldx%ld: caption %d wide, room %d%s\n", described.name.c_str(), place.left,
                place.top, place.right - place.left, place.bottom - place.top, width, room, fits ? "" : "  CLIPPED");
    check(fits, described.name + ": caption fits its control");
}

void checkLayout(const platform::win32::Win32Window& host, const platform::WindowDescription& description, int dpi) {
    HWND window = host.mainWindow();
    std::printf("display %d dpi, scale %.2f\n", dpi, host.scale().factor());
    checkEqual(host.scale().pixels(100), MulDiv(100, dpi, platform::kBaseDpi), "the window follows the DPI");
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::printf("  window %ldx%ld, client %ldx%ld\n", outer.right - outer.left, outer.bottom - outer.top, client.right,
                client.bottom);
    check(withinAPixel(outer.right - outer.left, host.scale().pixels(description.outerWidth)) &&
              withinAPixel(outer.bottom - outer.top, host.scale().pixels(description.outerHeight)),
          "outer size is the described one times the scale");
    for (const ControlDescription& described : description.controls) {
        if (described.kind == ControlKind::Timer) continue;
        // Hidden controls are measured too: each is shown at some point of the day.
        checkControl(host, described, dpi);
    }
}

} // namespace

void scalingTests() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const platform::WindowDescription description = app::mainWindowLayout();
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    host.createMainWindow(description);
    host.showMainWindow();
    HWND window = host.mainWindow();
    check(window != nullptr, "window created");
    if (!window) return;
    checkLayout(host, description, dpi);

    // Dragged onto a monitor at 200% (or, from one at 200%, at 100%) with per-monitor DPI
    // awareness (Windows 8.1 and later): Windows suggests the new outer rectangle, the window
    // lays itself out anew.
    const int otherDpi = dpi == 2 * platform::kBaseDpi ? platform::kBaseDpi : 2 * platform::kBaseDpi;
    RECT suggested{};
    GetWindowRect(window, &suggested);
    suggested.right = suggested.left + MulDiv(description.outerWidth, otherDpi, platform::kBaseDpi);
    suggested.bottom = suggested.top + MulDiv(description.outerHeight, otherDpi, platform::kBaseDpi);
    SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(otherDpi, otherDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    checkLayout(host, description, otherDpi);
}

} // namespace vostrel::win32_test

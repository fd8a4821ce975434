// What scripts/test-windows cannot see from X: the running program's controls, found by the
// places the main window's description gives them, with their screen rectangles and texts, so
// that the test clicks where the operator would and reads what the window shows.
//   win32_window_probe controls        the main window's controls: name, class, shown, x y w h, text
//   win32_window_probe list            the items of the open drop-down list: index, x y w h, text
//   win32_window_probe window TITLE    the controls of a top-level window (a message box, a form):
//                                      class, shown, x y w h, text
//   win32_window_probe minimise        minimises the main window, as the operator might
// Lines are tab-separated UTF-8; rectangles are screen pixels. "controls" and "window" start with
// a line for the window itself: "window", x y w h, foreground=1|0 (and minimised=1|0). Exit code
// 1: no such window.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "platform/display_scale.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window.h"

namespace {

using vostrel::platform::ControlDescription;
using vostrel::platform::ControlKind;
using vostrel::platform::DisplayScale;
using vostrel::platform::win32::toUtf8;

// The system lists a combo box's open list as a window of this class.
constexpr wchar_t kDroppedListClass[] = L"ComboLBox";

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return text;
}

std::string windowText(HWND window) {
    wchar_t text[512]{};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return oneLine(toUtf8(text));
}

std::string className(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return toUtf8(name);
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
           std::to_string(r.bottom - r.top);
}

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// The child of `parent` whose top-left corner lies where the description puts it.
HWND childAt(HWND parent, POINT wanted) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = screenRect(child);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        if (std::labs(r.left - wanted.x) <= 1 && std::labs(r.top - wanted.y) <= 1) return child;
    }
    return nullptr;
}

HWND mainWindow() { return FindWindowW(vostrel::platform::win32::kMainWindowClass, nullptr); }

int printControls() {
    HWND main = mainWindow();
    if (!main) return 1;
    HDC screen = GetDC(nullptr);
    const DisplayScale scale = DisplayScale::fromDpi(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    printLine("window\t" + rectText(screenRect(main)) + "\tforeground=" + (GetForegroundWindow() == main ? "1" : "0") +
              "\tminimised=" + (IsIconic(main) ? "1" : "0"));
    const std::vector<ControlDescription> controls = vostrel::app::mainWindowLayout().controls;
    const auto find = [&](const ControlDescription& d) -> HWND {
        HWND parent = main;
        for (const ControlDescription& other : controls) {
            if (!d.parent.empty() && other.name == d.parent)
                parent = childAt(main, POINT{scale.pixels(other.left), scale.pixels(other.top)});
        }
        return parent ? childAt(parent, POINT{scale.pixels(d.left), scale.pixels(d.top)}) : nullptr;
    };
    for (const ControlDescription& d : controls) {
        if (d.kind == ControlKind::Timer) continue;
        HWND control = find(d);
        if (!control) {
            printLine(d.name + "\tmissing");
            continue;
        }
        printLine(d.name + "\t" + className(control) + "\t" + (IsWindowVisible(control) ? "1" : "0") + "\t" +
                  rectText(screenRect(control)) + "\t" + windowText(control));
    }
    return 0;
}

std::string itemText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return oneLine(toUtf8(text.c_str()));
}

// Item rectangles from the list's client area and its item height, which need no memory shared
// with the list's process.
int printDroppedList() {
    HWND list = nullptr;
    for (HWND w = FindWindowW(kDroppedListClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kDroppedListClass, nullptr)) {
        if (IsWindowVisible(w)) list = w;
    }
    if (!list) return 1;
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    for (int i = top; i < count; ++i) {
        const RECT item{client.left, client.top + (i - top) * height, client.right,
                        client.top + (i - top + 1) * height};
        if (item.bottom > client.bottom) break;
        printLine(std::to_string(i) + "\t" + rectText(item) + "\t" + itemText(list, i));
    }
    return 0;
}

int printWindow(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (!window || !IsWindowVisible(window)) return 1;
    printLine("window\t" + rectText(screenRect(window)) +
              "\tforeground=" + (GetForegroundWindow() == window ? "1" : "0"));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        printLine(className(child) + "\t" + (IsWindowVisible(child) ? "1" : "0") + "\t" + rectText(screenRect(child)) +
                  "\t" + windowText(child));
    }
    return 0;
}

int minimise() {
    HWND main = mainWindow();
    if (!main) return 1;
    ShowWindow(main, SW_MINIMIZE);
    return 0;
}

} // namespace

int main() {
    // The title as typed: main()'s arguments come in the ANSI code page, which may lack it.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const auto is = [&](int count, const wchar_t* command) { return argc == count && wcscmp(argv[1], command) == 0; };
    if (is(2, L"controls")) return printControls();
    if (is(2, L"list")) return printDroppedList();
    if (is(3, L"window")) return printWindow(argv[2]);
    if (is(2, L"minimise")) return minimise();
    std::fprintf(stderr, "usage: win32_window_probe controls | list | window TITLE | minimise\n");
    return 2;
}

// The main window: controls from a description, clicks through the group box, timers, the
// described focus order, hiding the focused control, keep-on-top, the alert colour of a label,
// the queued close, Esc and the close query.
#include <windows.h>

#include <string>

#include "assets/embedded_assets.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"
#include "tests/win32/window_driving.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;
using platform::ControlDescription;
using platform::ControlEvent;
using platform::ControlKind;
using platform::WindowDescription;

constexpr wchar_t kTitle[] = L"Vostrel后端测试";

struct Counters {
    int save = 0;
    int start = 0;
    int clockTicks = 0;
    int mathsClicks = 0;
};

// Laid out by hand: one control a line or two, so the table reads like the window.
// clang-format off
WindowDescription description(Counters& counters) {
    WindowDescription window;
    window.title = "Vostrel后端测试";
    window.outerWidth = 372;
    window.outerHeight = 384;
    window.iconResource = "DEFAULT_ICON";
    const std::string group = "分组框1";
    constexpr auto Label = ControlKind::TransparentLabel;
    window.controls = {
        {.name = "图片框1", .kind = ControlKind::PictureBox, .left = 143, .top = 42, .width = 200, .height = 248,
         .visible = false, .jpeg = assets::pictureJpeg()},
        {.name = "透明标签2", .kind = Label, .left = 55, .top = 240, .width = 240, .height = 48,
         .text = "正在获取系统时间", .font = {24, false, true}, .align = platform::HorizontalAlign::Centre},
        {.name = "时钟1", .kind = ControlKind::Timer, .interval = 200},
        {.name = "语文时钟", .kind = ControlKind::Timer},
        {.name = "按钮2", .parent = group, .left = 89, .top = 167, .width = 152, .height = 49, .text = "开始运行",
         .font = {20, true, true}},
        {.name = "语文结束", .kind = Label, .parent = group, .left = 200, .top = 30, .width = 120, .height = 32,
         .text = "保存自动获取结束时间", .visible = false},
        {.name = "按钮1", .parent = group, .left = 11, .top = 153, .width = 60, .height = 32, .text = "保存设置"},
    };
    for (auto [name, parent, left, top] : {std::tuple{"英语时间", "分组框1", 117, 126},
                                           std::tuple{"综合时间", "", 134, 104},
                                           std::tuple{"数学时间", "分组框1", 118, 64},
                                           std::tuple{"语文时间", "分组框1", 118, 33}}) {
        window.controls.push_back({.name = name, .kind = ControlKind::EditBox, .parent = parent, .left = left,
                                   .top = top, .width = 74, .height = 22, .text = "09:00", .visible = false,
                                   .font = {21, false, true}, .maxChars = 5});
    }
    for (auto [name, top, width, caption] : {std::tuple{"综合", 96, 80, "文综/理综"}, std::tuple{"英语", 128, 48, "英语"},
                                             std::tuple{"数学", 64, 80, "文数/理数"}, std::tuple{"语文", 32, 48, "语文"}}) {
        window.controls.push_back({.name = name, .kind = ControlKind::CheckBox, .parent = group, .left = 24,
                                   .top = top, .width = width, .height = 24, .text = caption});
    }
    window.controls.push_back({.name = group, .kind = ControlKind::GroupBox, .left = 16, .top = 8, .width = 336,
                               .height = 224, .text = "请选择当天考试科目"});
    window.focusOrder = {"语文", "数学", "英语", "综合", "语文时间", "数学时间", "综合时间", "英语时间", "按钮1", "按钮2"};
    window.bindings.push_back({"按钮1", ControlEvent::Click, [&counters] { ++counters.save; }});
    window.bindings.push_back({"按钮2", ControlEvent::Click, [&counters] { ++counters.start; }});
    window.bindings.push_back({"时钟1", ControlEvent::Tick, [&counters] { ++counters.clockTicks; }});
    window.bindings.push_back({"数学", ControlEvent::Click, [&counters] { ++counters.mathsClicks; }});
    return window;
}
// clang-format on

HWND child(HWND parent, const wchar_t* text) { return FindWindowExW(parent, nullptr, nullptr, text); }

void setShift(bool down) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// The label's pixels as shown, by ink: the alert colour, or dark as ordinary text.
struct Inks {
    int red = 0;
    int dark = 0;
};

Inks inksOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP pixels = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, pixels);
    BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    Inks inks;
    const auto* pixel = static_cast<const BYTE*>(bits); // blue, green, red, unused
    for (long i = 0; pixel && i < client.right * client.bottom; ++i, pixel += 4) {
        if (pixel[2] > 180 && pixel[1] < 80 && pixel[0] < 80) ++inks.red;
        if (pixel[2] < 80 && pixel[1] < 80 && pixel[0] < 80) ++inks.dark;
    }
    SelectObject(memory, old);
    DeleteObject(pixels);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return inks;
}

// Paints of the label under watch.
int labelPaints = 0;
WNDPROC labelProc = nullptr;
LRESULT CALLBACK countPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++labelPaints;
    return CallWindowProcW(labelProc, window, message, wParam, lParam);
}

// The window of description() with its event loop, which the steps of controlsAndEvents share.
struct TestWindow {
    Counters counters;
    platform::win32::Win32Window host{GetModuleHandleW(nullptr)};
    platform::win32::Win32EventLoop loop{host};
    platform::Controls& controls = host.createMainWindow(description(counters));
};

void createdAndShownAsDescribed(TestWindow& t) {
    platform::win32::Win32Window& host = t.host;
    platform::Controls& controls = t.controls;
    check(host.mainWindowExists(), "window created");
    check(!IsWindowVisible(FindWindowW(L"Vostrel", kTitle)), "hidden until shown");
    checkEqual(controls.visible("语文时间"), false, "hidden control stays hidden");
    checkEqual(controls.visible("语文"), true, "visible control shown");
    checkEqual(controls.interval("时钟1"), 200, "described interval runs");
    checkEqual(controls.interval("语文时钟"), 0, "zero interval stays stopped");
    checkEqual(controls.text("按钮1"), "保存设置"s, "caption read back as UTF-8");
    checkEqual(controls.ticked("语文"), false, "not ticked at start");

    host.showMainWindow();
    HWND window = FindWindowW(L"Vostrel", kTitle);
    check(window && IsWindowVisible(window), "shown");
    RECT outer{};
    GetWindowRect(window, &outer);
    checkEqual(outer.right - outer.left, 372L, "outer width");
    checkEqual(outer.bottom - outer.top, 384L, "outer height");
    checkEqual(outer.left, static_cast<LONG>((GetSystemMetrics(SM_CXSCREEN) - 372) / 2), "centred horizontally");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    check((style & WS_MINIMIZEBOX) && !(style & WS_MAXIMIZEBOX) && !(style & WS_THICKFRAME),
          "fixed border, minimise only");
    check(SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0, "icon from the DEFAULT_ICON resource");
}

void textsClicksAndTimers(TestWindow& t) {
    platform::Controls& controls = t.controls;
    controls.setText("语文时间", "123456789");
    checkEqual(controls.text("语文时间"), "123456789"s, "program text beyond the typing limit shown whole");
    controls.setText("透明标签2", "系统时间为 09:05:07");
    checkEqual(controls.text("透明标签2"), "系统时间为 09:05:07"s, "label text");

    HWND group = child(FindWindowW(L"Vostrel", kTitle), L"请选择当天考试科目");
    check(group != nullptr, "group box found");
    SendMessageW(child(group, L"保存设置"), BM_CLICK, 0, 0);
    checkEqual(t.counters.save, 1, "click inside the group box reaches its handler");
    SendMessageW(child(group, L"开始运行"), BM_CLICK, 0, 0);
    checkEqual(t.counters.start, 1, "second button");
    SendMessageW(child(group, L"语文"), BM_CLICK, 0, 0);
    checkEqual(controls.ticked("语文"), true, "check box ticks itself");
    controls.setTicked("数学", true);
    controls.setTicked("数学", true);
    check(controls.ticked("数学") && t.counters.mathsClicks == 0, "the program ticks a check box, no Click");
    controls.setTicked("数学", false);
    check(!controls.ticked("数学") && t.counters.mathsClicks == 0, "the program unticks it, no Click");

    check(pumpUntil(t.loop, [&] { return t.counters.clockTicks >= 2; }), "timer ticks through the event loop");
    controls.setInterval("语文时钟", 30);
    checkEqual(controls.interval("语文时钟"), 30, "interval set");
    controls.setInterval("语文时钟", -5);
    checkEqual(controls.interval("语文时钟"), 0, "negative interval stops");
}

void focusInTheDescribedOrder(TestWindow& t) {
    platform::win32::Win32Window& host = t.host;
    platform::Controls& controls = t.controls;
    // Tab order with 数学时间 and 综合时间 hidden.
    controls.setVisible("语文时间", true);
    controls.setVisible("英语时间", true);
    controls.setVisible("英语时间", true);
    checkEqual(controls.visible("英语时间"), true, "showing twice keeps it shown");
    controls.giveFocus("英语");
    checkEqual(controls.focusedControl(), "英语"s, "focus given");
    for (const char* expected : {"综合", "语文时间", "英语时间", "按钮1", "按钮2", "语文"}) {
        check(host.handleKey(keyDown(VK_TAB)), "Tab consumed");
        checkEqual(controls.focusedControl(), std::string(expected), std::string("Tab reaches ") + expected);
    }
    setShift(true);
    host.handleKey(keyDown(VK_TAB));
    checkEqual(controls.focusedControl(), "按钮2"s, "Shift+Tab wraps backwards");
    check(!host.handleKey(keyDown(VK_ESCAPE)), "Shift+Esc does not close");
    setShift(false);

    controls.giveFocus("英语时间");
    controls.setVisible("英语时间", false);
    checkEqual(controls.focusedControl(), "按钮1"s, "hiding the focused box moves the focus on");
}

void alertColour(TestWindow& t) {
    constexpr char kStatusLabel[] = "透明标签2";
    platform::Controls& controls = t.controls;
    HWND label = t.host.controlWindow(kStatusLabel);
    controls.setText(kStatusLabel, "上一条提示播放失败");
    const Inks ordinary = inksOf(label);
    check(ordinary.dark > 0 && ordinary.red == 0, "a label draws its text in black");
    controls.setAlert(kStatusLabel, true);
    const Inks alert = inksOf(label);
    check(alert.red > 0 && alert.dark == 0, "in alert the whole text turns red");

    labelProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countPaints)));
    controls.setAlert(kStatusLabel, true);
    t.loop.processPendingEvents();
    checkEqual(labelPaints, 0, "setting the alert it has already causes no repaint");
    controls.setAlert(kStatusLabel, false);
    check(labelPaints > 0, "leaving the alert repaints at once");
    SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelProc));
    const Inks back = inksOf(label);
    check(back.dark > 0 && back.red == 0, "out of alert the text is black again, no red left");
}

void layerAndQueuedClose(TestWindow& t) {
    platform::Controls& controls = t.controls;
    controls.setAlwaysOnTop(true);
    check(controls.alwaysOnTop(), "always on top");
    controls.setAlwaysOnTop(false);
    check(!controls.alwaysOnTop(), "normal layer again");
    controls.setVisible("图片框1", true);
    check(controls.visible("图片框1"), "picture shown");
    t.loop.processPendingEvents();

    controls.closeMainWindow();
    check(t.host.mainWindowExists(), "close is queued, not immediate");
    t.loop.run();
    check(!t.host.mainWindowExists(), "queued close destroys the window");
    takeQuitMessage();
    checkEqual(controls.text("按钮1"), ""s, "operations after destruction do nothing");
}

void controlsAndEvents() {
    TestWindow window;
    createdAndShownAsDescribed(window);
    textsClicksAndTimers(window);
    alertColour(window);
    focusInTheDescribedOrder(window);
    layerAndQueuedClose(window);
}

void escapeCloses() {
    Counters counters;
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    platform::Controls& controls = host.createMainWindow(description(counters));
    host.showMainWindow();
    controls.setVisible("语文时间", true);
    controls.giveFocus("语文时间");
    check(host.handleKey(keyDown(VK_ESCAPE)), "Esc consumed");
    check(!host.mainWindowExists(), "Esc in an edit box closes the window");
    takeQuitMessage();
}

// The operator's close (Esc, the close box, Alt+F4) asks the query; the program's does not.
void closeQueryDecides() {
    Counters counters;
    int asked = 0;
    bool agree = false;
    WindowDescription described = description(counters);
    described.closeQuery = [&] {
        ++asked;
        return agree;
    };
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    platform::win32::Win32EventLoop loop(host);
    host.createMainWindow(described);
    host.showMainWindow();
    check(host.handleKey(keyDown(VK_ESCAPE)), "Esc consumed");
    checkEqual(asked, 1, "Esc asks the close query");
    check(host.mainWindowExists(), "the query's no keeps the window");
    SendMessageW(host.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); // the close box and Alt+F4
    checkEqual(asked, 2, "the close box asks the close query");
    loop.processPendingEvents();
    check(host.mainWindowExists(), "a refused close leaves nothing behind that closes later");
    agree = true;
    SendMessageW(host.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    check(asked == 3 && !host.mainWindowExists(), "the query's yes closes the window");
    takeQuitMessage();

    platform::win32::Win32Window second(GetModuleHandleW(nullptr));
    platform::win32::Win32EventLoop secondLoop(second);
    asked = 0;
    agree = false;
    second.createMainWindow(described).closeMainWindow();
    secondLoop.run();
    check(!second.mainWindowExists() && asked == 0, "the program's close does not ask");
    takeQuitMessage();
}

} // namespace

void windowTests() {
    controlsAndEvents();
    escapeCloses();
    closeQueryDecides();
}

} // namespace vostrel::win32_test

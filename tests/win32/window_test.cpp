// The main window: controls from a description, clicks through the group box, timers, the
// described focus order, hiding the focused control, keep-on-top, the queued close and Esc.
#include <windows.h>

#include <string>

#include "assets/embedded_assets.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;
using platform::ControlEvent;
using platform::ControlKind;
using platform::ControlDescription;
using platform::WindowDescription;

constexpr wchar_t kTitle[] = L"Vostrel后端测试";

struct Counters {
    int save = 0;
    int start = 0;
    int clockTicks = 0;
};

ControlDescription describe(std::string name, ControlKind kind, std::string parent, int left, int top, int width, int height,
                 std::string text, bool visible = true) {
    ControlDescription control;
    control.name = std::move(name);
    control.kind = kind;
    control.parent = std::move(parent);
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
    control.text = std::move(text);
    control.visible = visible;
    return control;
}

WindowDescription description(Counters& counters) {
    WindowDescription window;
    window.title = "Vostrel后端测试";
    window.outerWidth = 372;
    window.outerHeight = 384;
    window.iconResource = "DEFAULT_ICON";
    auto picture = describe("图片框1", ControlKind::PictureBox, "", 143, 42, 200, 248, "", false);
    picture.jpeg = assets::pictureJpeg();
    window.controls.push_back(picture);
    auto clockLabel = describe("透明标签2", ControlKind::TransparentLabel, "", 55, 240, 240, 48, "正在获取系统时间");
    clockLabel.align = platform::HorizontalAlign::Centre;
    clockLabel.font = {24, false, true};
    window.controls.push_back(clockLabel);
    auto clock = describe("时钟1", ControlKind::Timer, "", 0, 0, 0, 0, "");
    clock.interval = 200;
    window.controls.push_back(clock);
    window.controls.push_back(describe("语文时钟", ControlKind::Timer, "", 0, 0, 0, 0, ""));
    auto start = describe("按钮2", ControlKind::Button, "分组框1", 89, 167, 152, 49, "开始运行");
    start.font = {20, true, true};
    window.controls.push_back(start);
    window.controls.push_back(describe("语文结束", ControlKind::TransparentLabel, "分组框1", 200, 30, 120, 32,
                                   "保存自动获取结束时间", false));
    window.controls.push_back(describe("按钮1", ControlKind::Button, "分组框1", 11, 153, 60, 32, "保存设置"));
    for (auto [name, parent, left, top] : {std::tuple{"英语时间", "分组框1", 117, 126},
                                           std::tuple{"综合时间", "", 134, 104},
                                           std::tuple{"数学时间", "分组框1", 118, 64},
                                           std::tuple{"语文时间", "分组框1", 118, 33}}) {
        auto edit = describe(name, ControlKind::EditBox, parent, left, top, 74, 22, "09:00", false);
        edit.maxChars = 5;
        edit.font = {21, false, true};
        window.controls.push_back(edit);
    }
    window.controls.push_back(describe("综合", ControlKind::CheckBox, "分组框1", 24, 96, 80, 24, "文综/理综"));
    window.controls.push_back(describe("英语", ControlKind::CheckBox, "分组框1", 24, 128, 48, 24, "英语"));
    window.controls.push_back(describe("数学", ControlKind::CheckBox, "分组框1", 24, 64, 80, 24, "文数/理数"));
    window.controls.push_back(describe("语文", ControlKind::CheckBox, "分组框1", 24, 32, 48, 24, "语文"));
    window.controls.push_back(describe("分组框1", ControlKind::GroupBox, "", 16, 8, 336, 224, "请选择当天考试科目"));
    window.focusOrder = {"语文", "数学", "英语", "综合", "语文时间", "数学时间", "综合时间", "英语时间", "按钮1", "按钮2"};
    window.bindings.push_back({"按钮1", ControlEvent::Click, [&counters] { ++counters.save; }});
    window.bindings.push_back({"按钮2", ControlEvent::Click, [&counters] { ++counters.start; }});
    window.bindings.push_back({"时钟1", ControlEvent::Tick, [&counters] { ++counters.clockTicks; }});
    return window;
}

HWND child(HWND parent, const wchar_t* text) { return FindWindowExW(parent, nullptr, nullptr, text); }

MSG keyDown(WPARAM key) {
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

void setShift(bool down) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Dispatches events until the condition holds; the bound only keeps a broken build from hanging.
template <class Condition>
bool pumpUntil(platform::EventLoop& loop, Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < 10000) {
        loop.processPendingEvents();
        if (!condition()) loop.waitForEvents(50);
    }
    return condition();
}

void controlsAndEvents() {
    Counters counters;
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    platform::win32::Win32EventLoop loop(host);
    platform::Controls& controls = host.createMainWindow(description(counters));
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
    check((style & WS_MINIMIZEBOX) && !(style & WS_MAXIMIZEBOX) && !(style & WS_THICKFRAME), "fixed border, minimise only");
    check(SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0, "icon from the DEFAULT_ICON resource");

    controls.setText("语文时间", "123456789");
    checkEqual(controls.text("语文时间"), "123456789"s, "program text beyond the typing limit shown whole");
    controls.setText("透明标签2", "系统时间为 09:05:07");
    checkEqual(controls.text("透明标签2"), "系统时间为 09:05:07"s, "label text");

    HWND group = child(window, L"请选择当天考试科目");
    check(group != nullptr, "group box found");
    SendMessageW(child(group, L"保存设置"), BM_CLICK, 0, 0);
    checkEqual(counters.save, 1, "click inside the group box reaches its handler");
    SendMessageW(child(group, L"开始运行"), BM_CLICK, 0, 0);
    checkEqual(counters.start, 1, "second button");
    SendMessageW(child(group, L"语文"), BM_CLICK, 0, 0);
    checkEqual(controls.ticked("语文"), true, "check box ticks itself");

    check(pumpUntil(loop, [&] { return counters.clockTicks >= 2; }), "timer ticks through the event loop");
    controls.setInterval("语文时钟", 30);
    checkEqual(controls.interval("语文时钟"), 30, "interval set");
    controls.setInterval("语文时钟", -5);
    checkEqual(controls.interval("语文时钟"), 0, "negative interval stops");

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

    controls.setAlwaysOnTop(true);
    check(controls.alwaysOnTop(), "always on top");
    controls.setAlwaysOnTop(false);
    check(!controls.alwaysOnTop(), "normal layer again");
    controls.setVisible("图片框1", true);
    check(controls.visible("图片框1"), "picture shown");
    loop.processPendingEvents();

    controls.closeMainWindow();
    check(host.mainWindowExists(), "close is queued, not immediate");
    loop.run();
    check(!host.mainWindowExists(), "queued close destroys the window");
    checkEqual(controls.text("按钮1"), ""s, "operations after destruction do nothing");
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
}

} // namespace

void windowTests() {
    controlsAndEvents();
    escapeCloses();
}

} // namespace vostrel::win32_test

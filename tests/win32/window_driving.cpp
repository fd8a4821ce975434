#include "tests/win32/window_driving.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/win32/wide_text.h"

namespace vostrel::win32_test {
namespace {

constexpr DWORD kBoundMs = 10000;
constexpr UINT kStepIntervalMs = 20;

std::function<bool()> modalStep;
DWORD modalStart = 0;

void CALLBACK runModalStep(HWND, UINT, UINT_PTR timer, DWORD) {
    // A step may pump messages itself (a hold for a screenshot): it must not run nested.
    static bool running = false;
    if (running) return;
    running = true;
    const bool done = !modalStep || modalStep() || GetTickCount() - modalStart > kBoundMs;
    running = false;
    if (!done) return;
    KillTimer(nullptr, timer);
    modalStep = nullptr;
}

struct WindowSearch {
    const std::wstring& title;
    HWND found = nullptr;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    if (search->title != text) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

MSG keyDown(WPARAM key) {
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

bool pumpUntil(platform::EventLoop& loop, const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < kBoundMs) {
        loop.processPendingEvents();
        if (!condition()) loop.waitForEvents(20);
    }
    return condition();
}

void takeQuitMessage() {
    MSG quit{};
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void runWhileModal(std::function<bool()> step) {
    modalStep = std::move(step);
    modalStart = GetTickCount();
    SetTimer(nullptr, 0, kStepIntervalMs, runModalStep);
}

HWND threadWindow(const std::wstring& title) {
    WindowSearch search{title};
    EnumThreadWindows(GetCurrentThreadId(), matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void holdForScreenshot(const char* what) {
    const char* hold = std::getenv("VOSTREL_TEST_HOLD_MS");
    if (!hold) return;
    std::printf("holding: %s\n", what);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    const auto ms = static_cast<DWORD>(std::atoi(hold));
    while (GetTickCount() - start < ms) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

const std::vector<std::string>& standardSubjects() {
    static const std::vector<std::string> subjects{"语文",      "数学",      "外语",   "英语",     "物理",
                                                   "历史",      "化学",      "生物",   "思想政治", "地理",
                                                   "文数/理数", "文综/理综", "自定义…"};
    return subjects;
}

const std::vector<platform::FormField>& subjectFormFields() {
    static const std::vector<platform::FormField> fields{{"科目名称", "", 8, false},
                                                         {"考试时长（分钟）", "120", 3, true}};
    return fields;
}

// Laid out by hand: one control a line or two, so the table reads like the window.
// clang-format off
platform::WindowDescription subjectRowsWindow(SubjectRowsCounters& counters) {
    using platform::ControlKind;
    platform::WindowDescription window;
    window.title = kSubjectRowsTitle;
    window.outerWidth = 372;
    window.outerHeight = 300;
    const std::string group = "科目分组";
    window.controls = {
        {.name = kAlertLabel, .kind = ControlKind::TransparentLabel, .left = 24, .top = 236, .width = 320, .height = 24,
         .text = "上一条提示播放失败", .font = {16, true, true}},
        {.name = kFirstRowTick, .kind = ControlKind::CheckBox, .parent = group, .left = 24, .top = 32, .width = 16,
         .height = 24},
        {.name = kFirstRowList, .kind = ControlKind::DropDownList, .parent = group, .left = 44, .top = 33,
         .width = 96, .height = 22, .text = "语文", .items = standardSubjects()},
        {.name = kFirstRowTime, .kind = ControlKind::EditBox, .parent = group, .left = 150, .top = 33, .width = 74,
         .height = 22, .text = "09:00", .font = {21, false, true}, .maxChars = 5},
        {.name = kSecondRowList, .kind = ControlKind::DropDownList, .parent = group, .left = 44, .top = 72,
         .width = 96, .height = 22, .text = "文综/理综", .items = {"文综/理综", "ABC", "自定义…"}},
        {.name = group, .kind = ControlKind::GroupBox, .left = 16, .top = 8, .width = 336, .height = 200,
         .text = "请选择当天考试科目"},
    };
    window.focusOrder = {kFirstRowTick, kFirstRowList, kFirstRowTime, kSecondRowList};
    window.bindings.push_back({kFirstRowList, platform::ControlEvent::Change, [&counters] { ++counters.firstRowChanges; }});
    window.bindings.push_back({kSecondRowList, platform::ControlEvent::Change, [&counters] { ++counters.secondRowChanges; }});
    return window;
}
// clang-format on

} // namespace vostrel::win32_test

// Yes/no questions and the input form, both modal over the main window: what each answer
// returns, the default button, the focus and typing limits of the form, and the main window's
// timers ticking while either is open.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/form_dialog_layout.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"
#include "tests/win32/window_driving.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;
using platform::win32::kFormFirstBoxId;

constexpr char kQuestionTitle[] = "Vostrel问题测试";
constexpr char kTickingTimer[] = "计时";

// A main window whose timer counts its ticks.
struct OwnerWindow {
    int ticks = 0;
    platform::win32::Win32Window host{GetModuleHandleW(nullptr)};
    platform::win32::Win32EventLoop loop{host};

    OwnerWindow() {
        platform::WindowDescription window;
        window.title = "Vostrel表单测试";
        window.outerWidth = 372;
        window.outerHeight = 300;
        window.controls = {{.name = kTickingTimer, .kind = platform::ControlKind::Timer, .interval = 30}};
        window.bindings = {{kTickingTimer, platform::ControlEvent::Tick, [this] { ++ticks; }}};
        host.createMainWindow(window);
        host.showMainWindow();
    }
    ~OwnerWindow() {
        DestroyWindow(host.mainWindow());
        takeQuitMessage();
    }
};

// What a step saw of the modal window while it was open.
struct Seen {
    bool found = false;
    bool ownerDisabled = false;
    bool ownerTicked = false;
};

// A step that waits for the window with `title`, notes what the operator would see, lets the
// owner's timer tick twice and then does `act` to it.
std::function<bool()> whenOpen(const OwnerWindow& owner, const std::string& title, Seen& seen,
                               std::function<void(HWND)> act) {
    auto ticksAtOpen = std::make_shared<int>(-1);
    return [&owner, wide = platform::win32::toWide(title), &seen, act = std::move(act), ticksAtOpen] {
        HWND window = threadWindow(wide);
        if (!window) return false;
        if (*ticksAtOpen < 0) *ticksAtOpen = owner.ticks;
        seen.found = true;
        seen.ownerDisabled = !IsWindowEnabled(owner.host.mainWindow());
        if (owner.ticks < *ticksAtOpen + 2) return false;
        seen.ownerTicked = true;
        act(window);
        return true;
    };
}

void press(WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); }

void type(HWND box, const std::wstring& text) {
    for (const wchar_t c : text) SendMessageW(box, WM_CHAR, c, 0);
}

void yesNoQuestions() {
    OwnerWindow owner;
    platform::win32::Win32MessageBoxes boxes;
    const auto ask = [&](std::function<void(HWND)> answer, Seen& seen) {
        runWhileModal(whenOpen(owner, kQuestionTitle, seen, std::move(answer)));
        return boxes.askYesNo("正在播报考试提示，确定要退出吗？", kQuestionTitle);
    };
    Seen yes;
    bool noIsDefault = false;
    check(ask(
              [&](HWND box) {
                  HWND no = GetDlgItem(box, IDNO);
                  noIsDefault = GetFocus() == no && (GetWindowLongPtrW(no, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
                  SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
              },
              yes),
          "是 answers yes");
    check(noIsDefault, "否 is the default button");
    check(yes.ownerDisabled, "the main window takes no input while the question is open");
    check(yes.ownerTicked, "the main window's timer ticks while the question is open");
    Seen enter, escape, closeBox;
    check(!ask([](HWND) { press(VK_RETURN); }, enter) && enter.found, "Enter answers no");
    SetForegroundWindow(owner.host.mainWindow());
    check(!ask([](HWND) { press(VK_ESCAPE); }, escape) && escape.found, "Esc answers no");
    // The operator who answered 否 goes on in the main window, where Esc asks again.
    check(GetActiveWindow() == owner.host.mainWindow(), "the main window is active again after the answer");
    check(!ask([](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, closeBox) && closeBox.found,
          "the close box answers no");
}

std::optional<std::vector<std::string>> askSubject(const OwnerWindow& owner, Seen& seen,
                                                   std::function<void(HWND)> act) {
    platform::win32::Win32InputForms forms(owner.host);
    runWhileModal(whenOpen(owner, kSubjectFormTitle, seen, std::move(act)));
    return forms.askForm(kSubjectFormTitle, kSubjectFormExplanation, subjectFormFields());
}

void formAnswers() {
    OwnerWindow owner;
    Seen typed;
    bool focusInFirstBox = false;
    const auto answer = askSubject(owner, typed, [&](HWND form) {
        HWND name = GetDlgItem(form, kFormFirstBoxId);
        HWND minutes = GetDlgItem(form, kFormFirstBoxId + 1);
        focusInFirstBox = GetFocus() == name;
        type(name, L"生物学竞赛专题讲座");
        SetFocus(minutes);
        SendMessageW(minutes, EM_SETSEL, 0, -1);
        type(minutes, L"9x05");
        SendMessageW(GetDlgItem(form, IDOK), BM_CLICK, 0, 0);
    });
    check(answer == std::vector<std::string>{"生物学竞赛专题讲", "905"},
          "OK returns the boxes as typed, within their limits");
    check(focusInFirstBox, "the form opens with the focus in the first box");
    check(typed.ownerDisabled, "the main window takes no input while the form is open");
    check(typed.ownerTicked, "the main window's timer ticks while the form is open");

    Seen enter, escape, cancel, closeBox;
    check(askSubject(owner, enter, [](HWND) { press(VK_RETURN); }) == std::vector<std::string>{"", "120"},
          "Enter is OK, the boxes as they opened");
    check(!askSubject(owner, escape, [](HWND) { press(VK_ESCAPE); }) && escape.found, "Esc cancels");
    check(!askSubject(owner, cancel, [](HWND form) { SendMessageW(GetDlgItem(form, IDCANCEL), BM_CLICK, 0, 0); }) &&
              cancel.found,
          "Cancel cancels");
    check(!askSubject(owner, closeBox, [](HWND form) { PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0); }) &&
              closeBox.found,
          "the close box cancels");
}

} // namespace

void questionAndFormTests() {
    yesNoQuestions();
    formAnswers();
}

} // namespace vostrel::win32_test

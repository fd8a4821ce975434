#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr wchar_t kOriginalProcProperty[] = L"VostrelBoxProc";

int show(std::string_view text, UINT style, std::string_view title) {
    // Owned by the window the operator is using: the box disables it, and enables it again before
    // it closes, so the system gives it back the focus (Esc reaches it again). A box closing while
    // the thread's windows are still disabled, as a task-modal box without an owner leaves them,
    // hands the activation to another program. Without an active window (before the main window
    // shows, or while another program is in front) task-modal keeps every window of ours disabled.
    HWND owner = GetActiveWindow();
    if ((style & MB_SYSTEMMODAL) == 0) style |= MB_TASKMODAL;
    const std::wstring wideTitle = toWide(title.empty() ? kDefaultMessageTitle : title);
    return MessageBoxW(owner, toWide(text).c_str(), wideTitle.c_str(), style);
}

// A button the box shows (some systems build every button and hide those not asked for).
bool shows(HWND box, int button) {
    HWND window = GetDlgItem(box, button);
    return window && (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Cancel (Esc, the close box, Alt+F4) on a box without a Cancel button presses 否 instead.
LRESULT CALLBACK cancelAnswersNo(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(box, kOriginalProcProperty));
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && !shows(box, IDCANCEL)) {
        HWND no = GetDlgItem(box, IDNO);
        return CallWindowProcW(original, box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(no));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(box, kOriginalProcProperty);
    }
    return CallWindowProcW(original, box, message, wParam, lParam);
}

LRESULT CALLBACK onWindowActivation(int code, WPARAM wParam, LPARAM lParam) {
    const auto box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetDlgItem(box, IDNO) && !GetPropW(box, kOriginalProcProperty)) {
        const LONG_PTR original = SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&cancelAnswersNo));
        SetPropW(box, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
        // The box, set up by now, greyed its close box for want of a Cancel button.
        if (!shows(box, IDCANCEL)) EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The system's yes/no box ignores Esc and greys its close box, having no Cancel button; while
// one is open on this thread, both answer 否 as the question promises.
class CancelAnswersNo {
public:
    CancelAnswersNo() : hook_(SetWindowsHookExW(WH_CBT, onWindowActivation, nullptr, GetCurrentThreadId())) {}
    ~CancelAnswersNo() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    CancelAnswersNo(const CancelAnswersNo&) = delete;
    CancelAnswersNo& operator=(const CancelAnswersNo&) = delete;

private:
    HHOOK hook_;
};

} // namespace

void Win32MessageBoxes::showMessage(std::string_view text, int flags, std::string_view title) {
    show(text, static_cast<UINT>(flags), title);
}

bool Win32MessageBoxes::askYesNo(std::string_view text, std::string_view title) {
    const CancelAnswersNo cancelAnswersNo;
    return show(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, title) == IDYES;
}

} // namespace vostrel::platform::win32

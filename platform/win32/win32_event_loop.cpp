#include "platform/win32/win32_event_loop.h"

#include <windows.h>

#include "platform/win32/win32_window.h"

namespace vostrel::platform::win32 {
namespace {

void dispatch(Win32Window& window, const MSG& message) {
    if (window.handleKey(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

void Win32EventLoop::run() {
    MSG message{};
    while (window_.mainWindowExists()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break; // WM_QUIT, or a queue that cannot be read
        dispatch(window_, message);
    }
}

void Win32EventLoop::processPendingEvents() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Belongs to the outer loop: leave it for run() to find.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(window_, message);
    }
}

void Win32EventLoop::waitForEvents(std::int32_t milliseconds) {
    if (milliseconds <= 0) return;
    // Also returns for messages that are already queued but were seen by an earlier peek.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

} // namespace vostrel::platform::win32

#include "platform/win32/win32_single_instance.h"

#include <utility>

#include "platform/win32/win32_window.h"

namespace vostrel::platform::win32 {
namespace {

// One per user session: another user logged on to the same PC runs a copy of their own.
constexpr wchar_t kMutexName[] = L"Local\\Vostrel.OneCopy";

// The main window of another process of ours; null when none has one yet.
HWND otherCopysMainWindow() {
    for (HWND window = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); window;
         window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId()) return window;
    }
    return nullptr;
}

} // namespace

bool Win32SingleInstance::claim() {
    if (mutex_) return true;
    OwnedHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    // The name exists: another copy created it first. Without a handle at all (a name taken by
    // another kind of object, or no rights) this copy runs, as it would have before.
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return false;
    mutex_ = std::move(mutex);
    return true;
}

void Win32SingleInstance::activateFirstCopy() {
    HWND window = otherCopysMainWindow();
    // Still starting (its window hidden until its start-up messages are answered): nothing to show.
    if (!window || !IsWindowVisible(window)) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A form open on it comes to the front with it.
    SetForegroundWindow(GetLastActivePopup(window));
}

} // namespace vostrel::platform::win32

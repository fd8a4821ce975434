// One copy per session: a second claim fails while the first holds; a second process brings the
// first copy's minimised window back to the front; the claim ends with its holder.
#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"
#include "tests/win32/window_driving.h"

namespace vostrel::win32_test {
namespace {

// This test program run again as the later copy (see secondCopy()).
bool startSecondCopy(PROCESS_INFORMATION& process) {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + platform::win32::toWide(kSecondCopyArgument);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0;
}

void laterCopyBringsTheFirstToTheFront() {
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    platform::win32::Win32EventLoop loop(host);
    platform::WindowDescription window;
    window.title = "Vostrel单实例测试";
    window.outerWidth = 300;
    window.outerHeight = 200;
    host.createMainWindow(window);
    host.showMainWindow();
    ShowWindow(host.mainWindow(), SW_MINIMIZE);
    check(IsIconic(host.mainWindow()), "the first copy's window is minimised");

    PROCESS_INFORMATION second{};
    check(startSecondCopy(second), "a second copy starts");
    if (!second.hProcess) return;
    // The second copy restores this window, which needs this thread to take its messages.
    check(pumpUntil(loop, [&] { return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; }),
          "the second copy ends");
    DWORD exitCode = 1;
    GetExitCodeProcess(second.hProcess, &exitCode);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    checkEqual(exitCode, DWORD{0}, "the second copy's claim failed");
    loop.processPendingEvents();
    check(!IsIconic(host.mainWindow()) && IsWindowVisible(host.mainWindow()), "the first copy's window is restored");
    check(GetForegroundWindow() == host.mainWindow(), "the first copy's window is in front");
    DestroyWindow(host.mainWindow());
    takeQuitMessage();
}

} // namespace

void singleInstanceTests() {
    {
        platform::win32::Win32SingleInstance first;
        platform::win32::Win32SingleInstance second;
        check(first.claim(), "the first claim in a session succeeds");
        check(!second.claim(), "a second claim fails while the first holds");
        laterCopyBringsTheFirstToTheFront();
    }
    platform::win32::Win32SingleInstance afterwards;
    check(afterwards.claim(), "the claim ends with its holder");
}

int secondCopy() {
    platform::win32::Win32SingleInstance copy;
    if (copy.claim()) return 1;
    copy.activateFirstCopy();
    return 0;
}

} // namespace vostrel::win32_test

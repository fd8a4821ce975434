// The Windows backend's bundle and the entry point's createPlatform().
#include <windows.h>
#include <objbase.h>

#include "platform/platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_wave_out.h"
#include "platform/win32/win32_window.h"

namespace vostrel::platform {
namespace win32 {
namespace {

// The shell's "open" action may use COM; the UI thread is a single-threaded apartment.
class ComApartment {
public:
    ComApartment()
        : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

class Win32Platform final : public Platform {
public:
    Win32Platform() : window_(GetModuleHandleW(nullptr)), loop_(window_), forms_(window_) {}

    WindowHost& windows() override { return window_; }
    EventLoop& loop() override { return loop_; }
    MessageBoxes& messages() override { return messages_; }
    Clock& clock() override { return clock_; }
    FileSystem& files() override { return files_; }
    ProfileStore& profile() override { return profile_; }
    Shell& shell() override { return shell_; }
    WaveOutDriver& audio() override { return audio_; }
    PowerRequests& power() override { return power_; }
    InputForms& forms() override { return forms_; }
    BackgroundFiles& backgroundFiles() override { return backgroundFiles_; }
    SingleInstance& instance() override { return instance_; }
    ClockSync& clockSync() override { return clockSync_; }

private:
    ComApartment com_; // first in, last out
    Win32Window window_;
    Win32EventLoop loop_;
    Win32MessageBoxes messages_;
    Win32Clock clock_;
    Win32FileSystem files_;
    Win32ProfileStore profile_;
    Win32Shell shell_;
    Win32WaveOutDriver audio_;
    Win32PowerRequests power_;
    Win32InputForms forms_;
    Win32BackgroundFiles backgroundFiles_;
    Win32SingleInstance instance_;
    Win32ClockSync clockSync_;
};

} // namespace
} // namespace win32

std::unique_ptr<Platform> createPlatform(int /*argc*/, char** /*argv*/) {
    return std::make_unique<win32::Win32Platform>();
}

} // namespace vostrel::platform

// Program directory, directory search, deletion, small file reads, clock, the time service.
#include <windows.h>

#include <fstream>
#include <optional>
#include <string>

#include "platform/win32/tick_extender.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

using platform::win32::toWide;

void smallFileReads(platform::win32::Win32FileSystem& files, const std::string& folder) {
    const std::string file = folder + "\\监考计划.txt";
    { std::ofstream(toWide(file).c_str(), std::ios::binary) << "0123456789"; }
    checkEqual(files.readFile(file, 100), std::optional<std::string>("0123456789"), "a small file is read whole");
    checkEqual(files.readFile(file, 4), std::optional<std::string>("0123"), "at most maxBytes are read");
    {
        // Another program writing it, letting others read.
        const auto writer =
            platform::win32::ownFile(CreateFileW(toWide(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        check(writer != nullptr && files.readFile(file, 100).has_value(), "a file another program writes is read");
    }
    check(!files.readFile(folder, 100), "a directory is not read");
    files.deleteFile(file);
    check(!files.readFile(file, 100), "a missing file is not read");
}

// Where the time service is not installed (Wine), the test installs its setting as Windows'
// Date and Time panel leaves it; a system that has the service must simply answer.
constexpr wchar_t kTimeService[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time";
constexpr wchar_t kTimeServiceParameters[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";

void setTimeService(DWORD start, const std::wstring& source) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTimeService, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (key) RegSetValueExW(key, L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), sizeof(start));
    if (key) RegCloseKey(key);
    key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTimeServiceParameters, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const auto bytes = static_cast<DWORD>((source.size() + 1) * sizeof(wchar_t));
    if (key) RegSetValueExW(key, L"Type", 0, REG_SZ, reinterpret_cast<const BYTE*>(source.c_str()), bytes);
    if (key) RegCloseKey(key);
}

void timeService() {
    platform::win32::Win32ClockSync sync;
    if (sync.synchronised().has_value()) return; // a real system's own setting, whichever it is
    setTimeService(SERVICE_DEMAND_START, L"NTP");
    checkEqual(sync.synchronised(), std::optional<bool>(true), "a service following a time server: in step");
    setTimeService(SERVICE_AUTO_START, L"NoSync");
    checkEqual(sync.synchronised(), std::optional<bool>(false), "a service set to no time server: not in step");
    setTimeService(SERVICE_DISABLED, L"NT5DS");
    checkEqual(sync.synchronised(), std::optional<bool>(false), "a disabled service: not in step");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTimeServiceParameters);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTimeService);
    check(!sync.synchronised().has_value(), "no time service: no answer");
}

} // namespace

void filesAndClockTests() {
    platform::win32::Win32FileSystem files;
    const std::string directory = files.programDirectory();
    check(!directory.empty() && directory.back() != '\\', "program directory without a trailing separator");
    check(files.exists(directory), "the program directory exists");
    check(files.setCurrentDirectory(directory), "current directory set");

    const std::string folder = directory + "\\语音";
    CreateDirectoryW(toWide(folder).c_str(), nullptr);
    check(files.exists(folder), "a directory counts as present");
    check(files.exists(directory + "/语音"), "forward slashes are separators");
    check(!files.deleteFile(folder), "a directory is not deleted as a file");
    const std::string file = folder + "\\1speak.mp3";
    { std::ofstream(toWide(file).c_str(), std::ios::binary) << "x"; }
    check(files.exists(file), "file found");
    check(files.deleteFile(file), "file deleted");
    check(!files.exists(file), "file gone");
    check(!files.deleteFile(file), "deleting a missing file fails");
    check(!files.exists(""), "empty path is not present");
    smallFileReads(files, folder);
    RemoveDirectoryW(toWide(folder).c_str());

    platform::win32::Win32Clock clock;
    const auto now = clock.localNow();
    check(now.hour >= 0 && now.hour < 24 && now.minute >= 0 && now.minute < 60 && now.second >= 0 && now.second < 60,
          "local time fields in range");
    const auto first = clock.tickCountMs();
    check(clock.tickCountMs() >= first, "ticks never go backwards");

    // GetTickCount wraps after 49.7 days; the widened count runs on across two wraps and keeps
    // a slightly older reading (another thread's, taken first) from counting as a wrap.
    platform::win32::TickExtender ticks;
    check(ticks.extend(0xFFFFFF00u) == 0xFFFFFF00u, "a reading before the wrap stands as is");
    check(ticks.extend(0x10u) == 0x100000010ull, "the wrap carries into the high word");
    check(ticks.extend(0x0Fu) == 0x100000010ull, "an older reading does not count as a wrap");
    check(ticks.extend(0xC0000000u) == 0x1C0000000ull && ticks.extend(0x5u) == 0x200000005ull,
          "a second wrap carries again");

    platform::win32::Win32PowerRequests power;
    power.keepAwake(true);
    power.keepAwake(true);
    power.keepAwake(false);
    check(true, "power requests taken and released");
    timeService();
}

} // namespace vostrel::win32_test

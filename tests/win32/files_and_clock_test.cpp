// Program directory, directory search, deletion, clock.
#include <windows.h>

#include <fstream>
#include <string>

#include "platform/win32/tick_extender.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_power_requests.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {

void filesAndClockTests() {
    using platform::win32::toWide;
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
}

} // namespace vostrel::win32_test

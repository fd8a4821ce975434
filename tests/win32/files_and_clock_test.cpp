// Program directory, directory search, deletion, clock.
#include <windows.h>

#include <fstream>
#include <string>

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

    platform::win32::Win32PowerRequests power;
    power.keepAwake(true);
    power.keepAwake(true);
    power.keepAwake(false);
    check(true, "power requests taken and released");
}

} // namespace vostrel::win32_test

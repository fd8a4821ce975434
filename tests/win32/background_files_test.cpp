// Files written off the UI thread: appends beside a reader, whole replacements, the tail and the
// size, and what the operator is told when the system refuses (a file another program holds
// open, a read-only file, a missing folder), the file staying as it was.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "platform/win32/file_handle.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;
using platform::win32::toWide;

platform::win32::OwnedFile openShared(const std::string& path, DWORD access, DWORD share) {
    return platform::win32::ownFile(
        CreateFileW(toWide(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string contentOf(const std::string& path) {
    platform::win32::Win32FileSystem files;
    return files.readFile(path, 1 << 20).value_or("<unreadable>");
}

// The reason must be the system's words, not empty; printed for the record of the run.
void checkRefused(const platform::FileWriteResult& result, const char* what) {
    check(!result.ok && !result.reason.empty(), std::string(what) + ": refused with a reason");
    std::printf("  %s: %s\n", what, result.reason.c_str());
}

void appendsAndReads(platform::BackgroundFiles& files, const std::string& path) {
    check(files.append(path, "08:00 语文 第1条\r\n").ok, "append creates the file");
    {
        // A text editor or viewer open on the record.
        const auto reader = openShared(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        check(reader != nullptr, "a reader opens the record");
        check(files.append(path, "08:05 语文 第2条\r\n").ok, "append while a reader has the file open");
    }
    checkEqual(contentOf(path), "08:00 语文 第1条\r\n08:05 语文 第2条\r\n"s, "appends land at the end in order");
    checkEqual(files.size(path), std::optional<std::uint64_t>(contentOf(path).size()), "size in bytes");
    const std::string lastLine = "08:05 语文 第2条\r\n";
    checkEqual(files.readTail(path, lastLine.size()), std::optional<std::string>(lastLine),
               "the tail is the last bytes");
    checkEqual(files.readTail(path, 1 << 20), std::optional<std::string>(contentOf(path)),
               "a short file's tail is all of it");
    check(!files.readTail(path + ".missing", 10) && !files.size(path + ".missing"),
          "a missing file has no tail, no size");
}

void replacements(platform::BackgroundFiles& files, const std::string& path) {
    const std::string leftover = path + ".4242.tmp";
    {
        std::FILE* left = _wfopen(toWide(leftover).c_str(), L"wb");
        if (left) std::fclose(left);
    }
    check(files.replace(path, "<html>计划</html>").ok, "replace");
    checkEqual(contentOf(path), "<html>计划</html>"s, "the file holds the new content whole");
    check(GetFileAttributesW(toWide(leftover).c_str()) == INVALID_FILE_ATTRIBUTES,
          "the copy an interrupted replace left behind is gone");
    {
        const auto holder = openShared(path, GENERIC_READ | GENERIC_WRITE, 0);
        check(holder != nullptr, "another program holds the file open alone");
        checkRefused(files.replace(path, "new"), "replace of a file held open");
        checkRefused(files.append(path, "new"), "append to a file held open");
    }
    checkEqual(contentOf(path), "<html>计划</html>"s, "a refused replace leaves the file as it was");
    SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    checkRefused(files.replace(path, "new"), "replace of a read-only file");
    checkRefused(files.append(path, "new"), "append to a read-only file");
    SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    checkEqual(contentOf(path), "<html>计划</html>"s, "a read-only file stays as it was");
    checkRefused(files.replace(path + "不在\\计划.html", "new"), "replace in a missing folder");
    checkRefused(files.append(path + "不在\\记录.txt", "new"), "append in a missing folder");

    WIN32_FIND_DATAW found{};
    const HANDLE copies = FindFirstFileW(toWide(path + ".*.tmp").c_str(), &found);
    check(copies == INVALID_HANDLE_VALUE, "no temporary copy stays after a refusal");
    if (copies != INVALID_HANDLE_VALUE) FindClose(copies);
}

} // namespace

void backgroundFileTests() {
    platform::win32::Win32FileSystem system;
    const std::string folder = system.programDirectory() + "\\记录测试";
    CreateDirectoryW(toWide(folder).c_str(), nullptr);
    // Off the UI thread, as the program calls them.
    std::thread worker([&] {
        platform::win32::Win32BackgroundFiles files;
        const std::string record = folder + "\\考试记录.txt";
        const std::string plan = folder + "\\监考计划.html";
        appendsAndReads(files, record);
        replacements(files, plan);
        DeleteFileW(toWide(record).c_str());
        DeleteFileW(toWide(plan).c_str());
    });
    worker.join();
    RemoveDirectoryW(toWide(folder).c_str());
}

} // namespace vostrel::win32_test

#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/win32/file_handle.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/temporary_copies.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

FileWriteResult failure(DWORD error) { return FileWriteResult{false, systemErrorText(error)}; }

// Windows refuses to write a read-only file; asked first, the refusal is the same where the
// file system does not keep the attribute itself (Wine run by root).
bool readOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Writes the whole content to a fresh file and waits until the disk has it: the rename must
// never make a file whose content is still in the cache the target. ERROR_SUCCESS or the error.
DWORD writeDurably(const std::wstring& path, std::string_view bytes) {
    OwnedFile file =
        ownFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return GetLastError();
    return ERROR_SUCCESS;
}

} // namespace

FileWriteResult Win32BackgroundFiles::append(std::string_view path, std::string_view bytes) {
    const std::wstring file = toWide(path);
    if (readOnly(file)) return failure(ERROR_ACCESS_DENIED);
    // FILE_APPEND_DATA alone: every write lands at the end, wherever other writers left it.
    OwnedFile handle =
        ownFile(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return failure(GetLastError());
    if (!writeAll(handle.get(), bytes)) return failure(GetLastError());
    return {};
}

FileWriteResult Win32BackgroundFiles::replace(std::string_view path, std::string_view bytes) {
    const std::wstring file = toWide(path);
    if (readOnly(file)) return failure(ERROR_ACCESS_DENIED);
    // What an interrupted replace of this file left behind goes first.
    removeTemporaryCopies(path);
    const std::wstring copy = toWide(temporaryCopyPath(path));
    DWORD error = writeDurably(copy, bytes);
    if (error == ERROR_SUCCESS &&
        MoveFileExW(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    if (error == ERROR_SUCCESS) error = GetLastError();
    DeleteFileW(copy.c_str());
    return failure(error);
}

std::optional<std::string> Win32BackgroundFiles::readTail(std::string_view path, std::size_t maxBytes) {
    const OwnedFile file = openForReading(path);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    return readAtMost(file.get(), length > maxBytes ? length - maxBytes : 0, maxBytes);
}

std::optional<std::uint64_t> Win32BackgroundFiles::size(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (path.empty() || !GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

} // namespace vostrel::platform::win32

#include "platform/win32/win32_files.h"

#include <windows.h>

#include "platform/win32/file_handle.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {

std::string Win32FileSystem::programDirectory() const {
    // The module path may be longer than MAX_PATH; grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);
    }
    // Without the trailing separator: "C:\Vostrel.exe" gives the bare drive "C:".
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return {};
    return toUtf8(std::wstring_view(path).substr(0, cut));
}

bool Win32FileSystem::setCurrentDirectory(std::string_view directory) {
    std::wstring wide = toWide(directory);
    // A bare drive ("C:") would mean that drive's remembered directory, not its root.
    if (wide.size() == 2 && wide[1] == L':') wide.push_back(L'\\');
    return SetCurrentDirectoryW(wide.c_str()) != 0;
}

bool Win32FileSystem::exists(std::string_view path) const {
    if (path.empty()) return false;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(toWide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool Win32FileSystem::deleteFile(std::string_view path) {
    if (path.empty()) return false;
    return DeleteFileW(toWide(path).c_str()) != 0;
}

std::optional<std::string> Win32FileSystem::readFile(std::string_view path, std::size_t maxBytes) const {
    const OwnedFile file = openForReading(path);
    if (!file) return std::nullopt;
    return readAtMost(file.get(), 0, maxBytes);
}

} // namespace vostrel::platform::win32

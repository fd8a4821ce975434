#pragma once
// Owned kernel handles (files, a mutex) and the reads the file system and the background files
// share.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vostrel::platform::win32 {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// Closed with its owner; empty for a null handle.
using OwnedHandle = std::unique_ptr<void, HandleCloser>;
using OwnedFile = OwnedHandle;

// Empty for INVALID_HANDLE_VALUE, which CreateFileW returns on failure.
inline OwnedFile ownFile(HANDLE file) { return OwnedFile(file == INVALID_HANDLE_VALUE ? nullptr : file); }

// An existing file opened for reading that keeps nobody else from reading, writing, renaming or
// deleting it. Empty when it is missing, a directory or not readable.
OwnedFile openForReading(std::string_view utf8Path);

// At most maxBytes from `offset` on, fewer at the end of the file; nothing when a read fails.
std::optional<std::string> readAtMost(HANDLE file, std::uint64_t offset, std::size_t maxBytes);

} // namespace vostrel::platform::win32

#pragma once
// Files the program keeps beside its settings without the UI thread ever waiting for a disk:
// the day's record and the invigilators' plan page. A worker thread of the program's own makes
// these calls.
//
// Contract
// - Any thread; calls on different paths may overlap. Any call may block for as long as the
//   disk or the file's other users take (a full disk, a network folder, a file locked by another
//   program): never call these on the UI thread.
// - Paths are UTF-8. A failure comes back with the system's reason as text for the operator
//   (UTF-8), never as an exception.
// - append() adds the bytes at the end, creating the file when it is missing; other programs
//   may read the file meanwhile (a text editor open on it never blocks a write).
// - replace() gives the file the new content whole: after any failure or a power cut it holds
//   its old content or the new one, never a mix; a temporary file it leaves behind is removed
//   by the next replace of that path.
// - readTail() returns at most the last maxBytes of the file (all of a smaller one), nothing
//   when the file is missing or unreadable.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vostrel::platform {

struct FileWriteResult {
    bool ok = true;
    std::string reason; // empty when ok
};

class BackgroundFiles {
public:
    virtual ~BackgroundFiles() = default;
    virtual FileWriteResult append(std::string_view path, std::string_view bytes) = 0;
    virtual FileWriteResult replace(std::string_view path, std::string_view bytes) = 0;
    virtual std::optional<std::string> readTail(std::string_view path, std::size_t maxBytes) = 0;
    // The file's size in bytes, nothing when it is missing.
    virtual std::optional<std::uint64_t> size(std::string_view path) = 0;
};

} // namespace vostrel::platform

#pragma once
#include "platform/background_files.h"

namespace vostrel::platform::win32 {

// Plain file calls on the wide API, each complete in itself, so any thread may make them.
// Appends share the file with every reader and writer (a text editor open on the record never
// blocks one); a replace writes a temporary file beside the target, flushes it to the disk and
// renames it over the target in one step. Failures carry the system's own text.
class Win32BackgroundFiles final : public BackgroundFiles {
public:
    FileWriteResult append(std::string_view path, std::string_view bytes) override;
    FileWriteResult replace(std::string_view path, std::string_view bytes) override;
    std::optional<std::string> readTail(std::string_view path, std::size_t maxBytes) override;
    std::optional<std::uint64_t> size(std::string_view path) override;
};

} // namespace vostrel::platform::win32

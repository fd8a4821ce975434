#pragma once
// Files on the wide-character API: paths are UTF-8 here and UTF-16 at the wide entry points, so
// any directory name works. The program's own file system, the day's record written in the
// background, and the settings file.
#include "platform/background_files.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace vostrel::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    std::string programDirectory() const override;
    bool setCurrentDirectory(std::string_view directory) override;
    bool exists(std::string_view path) const override;
    bool deleteFile(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) const override;
};

// Plain file calls, each complete in itself, so any thread may make them. Appends share the file
// with every reader and writer (a text editor open on the record never blocks one); a replace
// writes a temporary file beside the target, flushes it to the disk and renames it over the
// target in one step. Failures carry the system's own text.
class Win32BackgroundFiles final : public BackgroundFiles {
public:
    FileWriteResult append(std::string_view path, std::string_view bytes) override;
    FileWriteResult replace(std::string_view path, std::string_view bytes) override;
    std::optional<std::string> readTail(std::string_view path, std::size_t maxBytes) override;
    std::optional<std::uint64_t> size(std::string_view path) override;
};

// The settings file through the system's private-profile functions in their ANSI form, fed GBK
// bytes, so the file is byte for byte what existing installations wrote and read. The keys of a
// save go into a copy of the file, which then replaces the file in one rename.
class Win32ProfileStore final : public ProfileStore {
public:
    std::string readString(std::string_view section, std::string_view key, std::string_view path,
                           std::size_t bufferBytes) override;
    bool writeStrings(std::string_view section, std::span<const ProfileEntry> entries, std::string_view path) override;
    void removeLeftovers(std::string_view path) override;
};

} // namespace vostrel::platform::win32

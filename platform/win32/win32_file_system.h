#pragma once
#include "platform/files.h"

namespace vostrel::platform::win32 {

// Paths are UTF-8 here and UTF-16 at the wide entry points, so any directory name works.
class Win32FileSystem final : public FileSystem {
public:
    std::string programDirectory() const override;
    bool setCurrentDirectory(std::string_view directory) override;
    bool exists(std::string_view path) const override;
    bool deleteFile(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) const override;
};

} // namespace vostrel::platform::win32

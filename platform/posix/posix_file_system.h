#pragma once
// FileSystem on POSIX calls. The program directory is the executable's, unless a directory is
// given (the simulated platform roots its files in a folder of its own).
#include <string>

#include "platform/files.h"

namespace vostrel::platform {

class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem(); // directory of /proc/self/exe
    explicit PosixFileSystem(std::string programDirectory);

    std::string programDirectory() const override { return programDirectory_; }
    bool setCurrentDirectory(std::string_view directory) override;
    bool exists(std::string_view path) const override;
    bool deleteFile(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) const override;

private:
    std::string programDirectory_;
};

} // namespace vostrel::platform

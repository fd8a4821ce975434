#pragma once
// BackgroundFiles on POSIX calls: appends through O_APPEND, replacements through the same
// temporary-file-and-rename as the settings file (file_replacement.h). A failure's reason is the
// system's message for errno.
#include "platform/background_files.h"
#include "platform/posix/file_calls.h"

namespace vostrel::platform {

class PosixBackgroundFiles : public BackgroundFiles {
public:
    FileWriteResult append(std::string_view path, std::string_view bytes) override;
    FileWriteResult replace(std::string_view path, std::string_view bytes) override;
    std::optional<std::string> readTail(std::string_view path, std::size_t maxBytes) override;
    std::optional<std::uint64_t> size(std::string_view path) override;

private:
    FileCalls& calls_ = systemFileCalls();
};

} // namespace vostrel::platform

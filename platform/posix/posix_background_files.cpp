#include "platform/posix/posix_background_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/posix/file_replacement.h"

namespace vostrel::platform {
namespace {

FileWriteResult failedWith(int error) { return {false, std::strerror(error)}; }

} // namespace

FileWriteResult PosixBackgroundFiles::append(std::string_view path, std::string_view bytes) {
    const int fd = calls_.open(std::string(path), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return failedWith(errno);
    errno = 0;
    if (!writeAll(calls_, fd, bytes)) {
        const int error = errno != 0 ? errno : ENOSPC; // a write that took nothing: the disk is full
        calls_.close(fd);
        return failedWith(error);
    }
    if (calls_.close(fd) != 0) return failedWith(errno);
    return {};
}

FileWriteResult PosixBackgroundFiles::replace(std::string_view path, std::string_view bytes) {
    const std::string file(path);
    removeTemporaryCopies(calls_, file);
    errno = 0;
    if (replaceFileContent(calls_, file, bytes)) return {};
    return failedWith(errno != 0 ? errno : EACCES);
}

std::optional<std::string> PosixBackgroundFiles::readTail(std::string_view path, std::size_t maxBytes) {
    const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> tail;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const auto fileSize = static_cast<std::uint64_t>(info.st_size);
        const std::uint64_t from = fileSize > maxBytes ? fileSize - maxBytes : 0;
        std::string bytes(static_cast<std::size_t>(fileSize - from), '\0');
        const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(from));
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            tail = std::move(bytes);
        }
    }
    ::close(fd);
    return tail;
}

std::optional<std::uint64_t> PosixBackgroundFiles::size(std::string_view path) {
    struct stat info {};
    if (::stat(std::string(path).c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace vostrel::platform

#include "platform/posix/file_calls.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vostrel::platform {

int FileCalls::stat(const std::string& path, struct ::stat& info) { return ::stat(path.c_str(), &info); }

int FileCalls::accessForWriting(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS);
}

int FileCalls::open(const std::string& path, int flags, mode_t mode) { return ::open(path.c_str(), flags, mode); }

ssize_t FileCalls::write(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int FileCalls::fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int FileCalls::fsync(int fd) { return ::fsync(fd); }

int FileCalls::close(int fd) { return ::close(fd); }

int FileCalls::rename(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); }

int FileCalls::unlink(const std::string& path) { return ::unlink(path.c_str()); }

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

} // namespace vostrel::platform

#pragma once
// The POSIX calls a replacing write makes (see file_replacement.h), one virtual function each,
// so that a test can make any one of them fail. This base class makes the real calls: each
// returns what the call returns and leaves errno as the call left it.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace vostrel::platform {

class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int stat(const std::string& path, struct ::stat& info);
    // 0 when the effective user may write the file (the kernel's own check, as open would make).
    virtual int accessForWriting(const std::string& path);
    virtual int open(const std::string& path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);
};

// The real calls, shared: the class has no state.
FileCalls& systemFileCalls();

} // namespace vostrel::platform

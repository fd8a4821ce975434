#pragma once
// The POSIX file calls of a replacing write, made for real unless the test asks one to fail:
// the n-th call (counting from 1), or every call of one name. Every call is recorded by name,
// and a write may be limited to a few bytes at a time so that the content takes many writes.
// A test can also end the write as a killed process would: after killAfter calls the next one
// throws ProcessKilled, and nothing of the write runs after it.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/file_calls.h"

namespace vostrel::settings_test {

struct ProcessKilled {};

class FailingFileCalls final : public platform::FileCalls {
public:
    std::size_t killAfter = SIZE_MAX;
    std::size_t failCall = 0; // 0: none by number
    std::string failEvery;    // empty: none by name
    int error = EIO;          // errno of a failed call
    std::size_t writeAtMost = SIZE_MAX;
    std::vector<std::string> made; // names of the calls so far, in order

    int stat(const std::string& path, struct ::stat& info) override {
        return fails("stat") ? -1 : FileCalls::stat(path, info);
    }
    int accessForWriting(const std::string& path) override {
        return fails("accessForWriting") ? -1 : FileCalls::accessForWriting(path);
    }
    int open(const std::string& path, int flags, mode_t mode) override {
        return fails("open") ? -1 : FileCalls::open(path, flags, mode);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        return fails("write") ? -1 : FileCalls::write(fd, data, size < writeAtMost ? size : writeAtMost);
    }
    int fchmod(int fd, mode_t mode) override { return fails("fchmod") ? -1 : FileCalls::fchmod(fd, mode); }
    int fsync(int fd) override { return fails("fsync") ? -1 : FileCalls::fsync(fd); }
    int close(int fd) override {
        // A failed close still releases the descriptor, as on Linux.
        const int result = FileCalls::close(fd);
        return fails("close") ? -1 : result;
    }
    int rename(const std::string& from, const std::string& to) override {
        return fails("rename") ? -1 : FileCalls::rename(from, to);
    }
    int unlink(const std::string& path) override { return fails("unlink") ? -1 : FileCalls::unlink(path); }

private:
    bool fails(const char* name) {
        if (made.size() >= killAfter) throw ProcessKilled{};
        made.emplace_back(name);
        if (made.size() != failCall && failEvery != name) return false;
        errno = error;
        return true;
    }
};

} // namespace vostrel::settings_test

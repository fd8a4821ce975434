#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file_reader.h"

namespace vostrel::platform {

namespace {

FileOpenError openError(int error) {
    switch (error) {
    case ENOENT: return FileOpenError::NotFound;
    case EACCES: return FileOpenError::AccessDenied;
    case EINVAL: return FileOpenError::InvalidName;
    case EMFILE: return FileOpenError::TooManyOpenFiles;
    default: return FileOpenError::Other;
    }
}

class PosixFileReader final : public FileReader {
public:
    PosixFileReader(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~PosixFileReader() override { ::close(fd_); }
    PosixFileReader(const PosixFileReader&) = delete;
    PosixFileReader& operator=(const PosixFileReader&) = delete;

    std::uint64_t size() const override { return size_; }

    bool seek(std::uint64_t offset) override {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
    }

    std::size_t read(std::uint8_t* into, std::size_t bytes) override {
        return readUntilFull(into, bytes, [this](std::uint8_t* at, std::size_t count) {
            ssize_t n = 0;
            do n = ::read(fd_, at, count);
            while (n < 0 && errno == EINTR);
            return n;
        });
    }

private:
    int fd_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<FileReader> openFileForReading(std::string_view utf8Name, FileOpenError& error) {
    const int fd = ::open(std::string(utf8Name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = openError(errno);
        return nullptr;
    }
    struct ::stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || S_ISDIR(info.st_mode)) {
        error = known ? FileOpenError::AccessDenied : FileOpenError::Other;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFileReader>(fd, static_cast<std::uint64_t>(info.st_size));
}

} // namespace vostrel::platform

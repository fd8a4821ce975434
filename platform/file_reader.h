#pragma once
// Reading a file from any byte onwards, for the audio engine's reader thread. Names are UTF-8;
// backends convert at the OS call (on Windows through the wide-character API, so a name opens
// whatever the system's code page). The C++ library's streams would do the same, but in a
// static Windows build they bring in the whole locale machinery, a third of the executable.
//
// Contract: openFileForReading() may be called from any thread; an opened file is used by one
// thread at a time. A directory does not open (AccessDenied).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace vostrel::platform {

enum class FileOpenError { NotFound, AccessDenied, InvalidName, TooManyOpenFiles, Other };

class FileReader {
public:
    virtual ~FileReader() = default;
    // The file's size in bytes when it was opened.
    virtual std::uint64_t size() const = 0;
    // Moves to `offset` bytes from the start; false when the system refuses.
    virtual bool seek(std::uint64_t offset) = 0;
    // Reads up to `bytes` bytes at the current place and moves past them; fewer only at the
    // end of the file or when the system fails the read.
    virtual std::size_t read(std::uint8_t* into, std::size_t bytes) = 0;
};

// The file opened for reading, or null with the reason in `error`.
std::unique_ptr<FileReader> openFileForReading(std::string_view utf8Name, FileOpenError& error);

// For the backends' read(): a system call may read less than asked, so readSome(into, bytes),
// which returns what it read (0 at the end, below 0 on failure), is called until `bytes` have
// come or it reads nothing more.
template <class ReadSome>
std::size_t readUntilFull(std::uint8_t* into, std::size_t bytes, ReadSome readSome) {
    std::size_t got = 0;
    while (got < bytes) {
        const auto n = readSome(into + got, bytes - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace vostrel::platform

#pragma once
// The program's directory and the few file operations the behaviours need. Paths are UTF-8;
// backends convert at the OS call.
//
// Contract: UI thread only (the audio engine opens its files itself with the C++ library).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vostrel::platform {

// The separator that begins file names appended to programDirectory().
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Directory of the running executable, without a trailing separator.
    virtual std::string programDirectory() const = 0;
    virtual bool setCurrentDirectory(std::string_view directory) = 0;
    // True when a directory search for the path finds an entry; a directory counts.
    virtual bool exists(std::string_view path) const = 0;
    // Deletes a file. False when it is missing, is a directory, or the OS refuses.
    virtual bool deleteFile(std::string_view path) = 0;
    // The bytes of a small file as they stand (no conversion), at most maxBytes of them; nothing
    // when it is missing, a directory or unreadable.
    virtual std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) const = 0;
};

} // namespace vostrel::platform

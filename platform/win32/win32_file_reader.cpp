#include <windows.h>

#include "platform/file_reader.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform {

namespace {

FileOpenError openError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileOpenError::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return FileOpenError::AccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return FileOpenError::InvalidName;
    case ERROR_TOO_MANY_OPEN_FILES: return FileOpenError::TooManyOpenFiles;
    default: return FileOpenError::Other;
    }
}

class Win32FileReader final : public FileReader {
public:
    Win32FileReader(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
    ~Win32FileReader() override { CloseHandle(file_); }
    Win32FileReader(const Win32FileReader&) = delete;
    Win32FileReader& operator=(const Win32FileReader&) = delete;

    std::uint64_t size() const override { return size_; }

    bool seek(std::uint64_t offset) override {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
    }

    std::size_t read(std::uint8_t* into, std::size_t bytes) override {
        return readUntilFull(into, bytes, [this](std::uint8_t* at, std::size_t count) -> long long {
            DWORD n = 0;
            return ReadFile(file_, at, static_cast<DWORD>(count), &n, nullptr) ? static_cast<long long>(n) : -1LL;
        });
    }

private:
    HANDLE file_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<FileReader> openFileForReading(std::string_view utf8Name, FileOpenError& error) {
    // Others may go on reading, writing and replacing the file meanwhile, as with the C library.
    const HANDLE file = CreateFileW(win32::toWide(utf8Name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A directory does not open without backup semantics: ERROR_ACCESS_DENIED, as wanted.
        error = openError(GetLastError());
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        error = FileOpenError::Other;
        return nullptr;
    }
    return std::make_unique<Win32FileReader>(file, static_cast<std::uint64_t>(size.QuadPart));
}

} // namespace vostrel::platform

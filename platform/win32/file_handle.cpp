#include "platform/win32/file_handle.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

} // namespace

OwnedFile openForReading(std::string_view utf8Path) {
    if (utf8Path.empty()) return nullptr;
    return ownFile(CreateFileW(toWide(utf8Path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::optional<std::string> readAtMost(HANDLE file, std::uint64_t offset, std::size_t maxBytes) {
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, from, nullptr, FILE_BEGIN)) return std::nullopt;
    std::string bytes;
    // In chunks, so a large limit on a small file costs only the file's size.
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(kReadChunk, maxBytes - bytes.size());
        const std::size_t had = bytes.size();
        bytes.resize(had + want);
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + had, static_cast<DWORD>(want), &got, nullptr)) return std::nullopt;
        bytes.resize(had + got);
        if (got == 0) break; // the end of the file
    }
    return bytes;
}

} // namespace vostrel::platform::win32

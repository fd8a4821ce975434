#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/text_codec.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/temporary_copies.h"
#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr UINT kGbk = 936;

// Drops a lead byte left without its trail byte where the buffer cut the value.
std::string withoutCutCharacter(std::string gbk) {
    std::size_t i = 0;
    std::size_t lastStart = 0;
    bool lastIsLead = false;
    while (i < gbk.size()) {
        lastStart = i;
        lastIsLead = IsDBCSLeadByteEx(kGbk, static_cast<BYTE>(gbk[i])) != 0;
        i += lastIsLead ? 2 : 1;
    }
    if (lastIsLead && i > gbk.size()) gbk.resize(lastStart);
    return gbk;
}

// The copy starts as the file as it stands, or empty where there is no file yet.
bool startCopy(const std::wstring& file, const std::wstring& copy) {
    if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES)
        return CopyFileW(file.c_str(), copy.c_str(), FALSE) != 0;
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return ownFile(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr)) != nullptr;
}

bool writeEntries(std::string_view section, std::span<const ProfileEntry> entries, const std::string& ansiPath) {
    const std::string gbkSection = utf8ToGbk(section);
    for (const ProfileEntry& entry : entries) {
        if (entry.key.empty()) return false;
        const std::string gbkKey = utf8ToGbk(entry.key);
        const std::string gbkValue = entry.value ? utf8ToGbk(*entry.value) : std::string();
        // A null value removes the key.
        if (!WritePrivateProfileStringA(gbkSection.c_str(), gbkKey.c_str(), entry.value ? gbkValue.c_str() : nullptr,
                                        ansiPath.c_str()))
            return false;
    }
    return true;
}

// The copy reaches the disk before it takes the file's place, so a power cut leaves one whole file.
bool flushToDisk(const std::wstring& path) {
    const OwnedFile file = ownFile(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

} // namespace

std::string Win32ProfileStore::readString(std::string_view section, std::string_view key, std::string_view path,
                                          std::size_t bufferBytes) {
    if (section.empty() || key.empty() || path.empty() || bufferBytes == 0) return {};
    const std::string gbkSection = utf8ToGbk(section);
    const std::string gbkKey = utf8ToGbk(key);
    const std::string ansiPath = toAnsiPath(path);
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bufferBytes, INT_MAX));
    std::vector<char> buffer(size, '\0');
    const DWORD got =
        GetPrivateProfileStringA(gbkSection.c_str(), gbkKey.c_str(), "", buffer.data(), size, ansiPath.c_str());
    // Some implementations count a terminator they wrote where the cut fell; the text ends
    // at the first NUL either way.
    const std::size_t length = strnlen(buffer.data(), std::min<DWORD>(got, size - 1));
    return gbkToUtf8(withoutCutCharacter(std::string(buffer.data(), length)));
}

bool Win32ProfileStore::writeStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                     std::string_view path) {
    if (section.empty() || path.empty()) return false;
    const std::wstring file = toWide(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    // A read-only file stays as the operator made it.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const std::string copyPath = temporaryCopyPath(path);
    const std::wstring copy = toWide(copyPath);
    const bool replaced = startCopy(file, copy) && writeEntries(section, entries, toAnsiPath(copyPath)) &&
                          flushToDisk(copy) &&
                          MoveFileExW(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) DeleteFileW(copy.c_str());
    return replaced;
}

void Win32ProfileStore::removeLeftovers(std::string_view path) { removeTemporaryCopies(path); }

} // namespace vostrel::platform::win32

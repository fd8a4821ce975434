#include "platform/win32/temporary_copies.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr char kSeparator = '.';
constexpr wchar_t kSuffix[] = L".tmp";

bool sameName(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

bool isCopyOf(const std::wstring& candidate, const std::wstring& name) {
    const std::wstring suffix = kSuffix;
    const std::size_t digitsStart = name.size() + 1;
    if (candidate.size() <= digitsStart + suffix.size()) return false;
    const std::wstring digits = candidate.substr(digitsStart, candidate.size() - digitsStart - suffix.size());
    return sameName(candidate.substr(0, name.size()), name) && candidate[name.size()] == kSeparator &&
           sameName(candidate.substr(candidate.size() - suffix.size()), suffix) &&
           digits.find_first_not_of(L"0123456789") == std::wstring::npos;
}

} // namespace

std::string temporaryCopyPath(std::string_view file) {
    return std::string(file) + kSeparator + std::to_string(GetCurrentProcessId()) + toUtf8(kSuffix);
}

void removeTemporaryCopies(std::string_view file) {
    if (file.empty()) return;
    const std::wstring path = toWide(file);
    const std::size_t cut = path.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
    const std::wstring name = path.substr(folder.size());
    WIN32_FIND_DATAW found{};
    // The pattern also matches short (8.3) names; the long name decides.
    const HANDLE search = FindFirstFileW((path + L".*" + kSuffix).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const bool file = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        if (file && isCopyOf(found.cFileName, name)) {
            const std::wstring copy = folder + found.cFileName;
            SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL); // a read-only copy goes too
            DeleteFileW(copy.c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace vostrel::platform::win32

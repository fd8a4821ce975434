// The "download page" for the voice files is a help page shipped beside the program: exam
// rooms are often offline, and the page explains where the files go and how to replace them.
#include <string>

#include "settings/settings_actions.h"

namespace vostrel::settings {
namespace {

constexpr std::string_view kHelpFolder = "help";
constexpr std::string_view kHelpPage = "voice-files.html";

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

// file:// URL of an absolute POSIX path, every other byte percent-encoded (UTF-8).
std::string fileUrl(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            url += ch;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

} // namespace

std::string localPageAddress(std::string_view path) {
    if constexpr (platform::kPathSeparator == '\\') {
        return std::string(path); // the Windows shell opens a local .html file in the default browser
    } else {
        return fileUrl(path);
    }
}

std::string downloadPageAddress(const platform::FileSystem& files) {
    constexpr char sep = platform::kPathSeparator;
    return localPageAddress(files.programDirectory() + sep + std::string(kHelpFolder) + sep + std::string(kHelpPage));
}

} // namespace vostrel::settings

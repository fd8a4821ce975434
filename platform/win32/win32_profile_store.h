#pragma once
#include "platform/profile.h"

namespace vostrel::platform::win32 {

// The system's private-profile functions in their ANSI form, fed GBK bytes, so the file is
// byte for byte what existing installations wrote and read. Several keys at once go into a copy
// of the file, which then replaces the file in one rename.
class Win32ProfileStore final : public ProfileStore {
public:
    std::string readString(std::string_view section, std::string_view key, std::string_view path,
                           std::size_t bufferBytes) override;
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view path) override;
    bool writeStrings(std::string_view section, std::span<const ProfileEntry> entries, std::string_view path) override;
    void removeLeftovers(std::string_view path) override;
};

} // namespace vostrel::platform::win32

#pragma once
// Private-profile (INI) settings, stored in code page 936 (GBK) on every platform so that
// files written by existing installations load unchanged.
//
// Contract: UI thread only. Section, key, value and path are UTF-8 here; the backend
// converts section, key and value to GBK at the call (and the path to the OS's form).
// - readString: the value of key in section, or "" when the file, section or key is
//   missing. At most bufferBytes - 1 bytes of the stored (GBK) value are returned, like
//   GetPrivateProfileStringA with a buffer of bufferBytes; a double-byte character cut in
//   half at the end is dropped. Section and key match case-insensitively.
// - writeStrings: several keys of one section at once. Creates the file, the section and the
//   keys as needed, replaces an existing value in place and keeps every other line; an entry
//   without a value removes its key. All of them change in one replacement of the file: after a
//   failure, a killed process or a power cut the file holds every old value or every new one,
//   never a mix. False (and the file as it was) when it cannot be written.
// - writeString: writeStrings with one key.
// - removeLeftovers: removes the temporary copies that writes of this file interrupted by a
//   killed process or a power cut left beside it. Nothing else is touched.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vostrel::platform {

struct ProfileEntry {
    std::string_view key;
    std::optional<std::string_view> value; // none: the key is removed
};

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::string readString(std::string_view section, std::string_view key, std::string_view path,
                                   std::size_t bufferBytes) = 0;
    virtual bool writeStrings(std::string_view section, std::span<const ProfileEntry> entries,
                              std::string_view path) = 0;
    virtual void removeLeftovers(std::string_view path) = 0;

    bool writeString(std::string_view section, std::string_view key, std::string_view value, std::string_view path) {
        const ProfileEntry entry{key, value};
        return writeStrings(section, std::span<const ProfileEntry>(&entry, 1), path);
    }
};

} // namespace vostrel::platform

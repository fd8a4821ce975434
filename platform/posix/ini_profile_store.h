#pragma once
// Private-profile (INI) files for systems without the Windows profile functions. Behaves like
// GetPrivateProfileStringA / WritePrivateProfileStringA on files in code page 936, so that a
// file written by a Windows installation loads unchanged and vice versa:
// - lines end in CR LF or LF; new files get CR LF, an existing file keeps its own line end;
// - "[name]" starts a section; "key=value" is an entry; names are compared without regard to
//   ASCII case and without the blanks around them (bytes of double-byte characters are never
//   case-folded); the first matching section and key win;
// - a value read loses the blanks around it and one pair of matching quotes;
// - a write replaces the value of the first matching entry in place, or adds the entry at the
//   end of its section, or adds the section at the end of the file; every other byte stays.
// A write that would break the file's structure (a line break anywhere, "=" in the key, "]"
// in the section, an empty section or key) is refused and reported as a failure.
#include "platform/profile.h"

namespace vostrel::platform {

class IniProfileStore final : public ProfileStore {
public:
    std::string readString(std::string_view section, std::string_view key, std::string_view path,
                           std::size_t bufferBytes) override;
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view path) override;
};

} // namespace vostrel::platform

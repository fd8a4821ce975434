#pragma once
// Private-profile (INI) files for systems without the Windows profile functions. Behaves like
// GetPrivateProfileStringA / WritePrivateProfileStringA on files in code page 936, so that a
// file written by a Windows installation loads unchanged and vice versa:
// - a line ends at CR LF, LF or a lone CR, as for the Windows functions; new files get CR LF;
//   a line added to an existing file ends like the line before it (or like the file's first
//   line when that one has no end), so a lone CR never meets an LF that would fuse with it;
// - "[name]" starts a section; "key=value" is an entry; names are compared without regard to
//   ASCII case and without the blanks around them (bytes of double-byte characters are never
//   case-folded); the first matching section and key win;
// - a value read loses the blanks around it and one pair of matching quotes; a value that
//   would lose something that way is written in double quotes, so it reads back as written;
// - a write replaces the value of the first matching entry in place, or adds the entry on a
//   line of its own at the end of its section, or adds the section at the end of the file;
//   every other byte stays. The file is replaced whole (see file_replacement.h): a failed
//   write leaves it as it was. A write that changes nothing leaves the file alone, but is
//   refused like any other when the file is read-only. Several keys written at once change in
//   one replacement, and an entry without a value removes the key's line.
// A write that would break the file's structure (a line break anywhere, "=" in the key, "]"
// in the section, an empty section or key) is refused and reported as a failure.
#include "platform/posix/file_calls.h"
#include "platform/profile.h"

namespace vostrel::platform {

class IniProfileStore final : public ProfileStore {
public:
    IniProfileStore() : IniProfileStore(systemFileCalls()) {}
    // Writes through the given calls (a test's, to make them fail).
    explicit IniProfileStore(FileCalls& calls) : calls_(calls) {}

    std::string readString(std::string_view section, std::string_view key, std::string_view path,
                           std::size_t bufferBytes) override;
    bool writeStrings(std::string_view section, std::span<const ProfileEntry> entries, std::string_view path) override;
    void removeLeftovers(std::string_view path) override;

private:
    FileCalls& calls_;
};

} // namespace vostrel::platform

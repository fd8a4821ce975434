#pragma once
// The settings file "vanto.ini" beside the program: section 时间设置, one key per subject,
// values the start times as typed. Read and written through the private-profile store.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/profile.h"

namespace vostrel::settings {

struct SettingsContext;

inline constexpr std::string_view kSettingsSection = "时间设置";
inline constexpr std::string_view kSettingsFileName = "vanto.ini";
// A value is read with at most this many bytes less one.
inline constexpr std::size_t kReadBufferBytes = 10240;
// The most of the file read for its prepared timetable.
inline constexpr std::size_t kTimetableReadBytes = 1024 * 1024;

// programDirectory, the platform's separator, "vanto.ini"; built anew for every access.
std::string settingsFilePath(const platform::FileSystem& files);
// A file of the program's own beside it (the settings file, the record, the plan page).
std::string pathBesideTheProgram(const platform::FileSystem& files, std::string_view name);

// The key's value, or "" when the file, the section or the key is missing (or key is empty).
std::string readSetting(platform::ProfileStore& profile, const platform::FileSystem& files, std::string_view key);

// True when an entry of that name exists; a directory counts.
bool fileExists(const platform::FileSystem& files, std::string_view path);

// Start-up: fills the four start-time boxes from the file (a missing key empties its box) and
// puts each row's stored subject into it, or shows the first-run message when there is no file.
// SubjectTimes stay untouched.
void loadSettings(SettingsContext& context);

} // namespace vostrel::settings

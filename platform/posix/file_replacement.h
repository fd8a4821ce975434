#pragma once
// Gives a file new content so that it holds either its old or its new bytes, whole, whatever
// fails and even after a power cut: the bytes go to a temporary file in the same folder, are
// flushed to disk, and the temporary file is renamed over the file; then the folder is flushed.
// - A file that exists must be one the user may write: a read-only file is refused rather than
//   replaced (the rename alone would get around its permissions). The new file gets the old
//   one's permission bits; a new file gets the usual ones (0666 less the umask).
// - A symbolic link keeps pointing where it did: the file it leads to is replaced (a link that
//   leads nowhere is refused).
// - On failure the file is untouched and the temporary file is removed.
// The folder must be writable too, since the temporary file is created there.
#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/posix/file_calls.h"

namespace vostrel::platform {

// The mode a new file is created with: the usual one, less the umask.
inline constexpr mode_t kNewFileMode = 0666;

// Writes all the bytes, again after an interrupted call; false on an error or when nothing more
// goes in (errno then tells why, or is left as it was on a short write).
bool writeAll(FileCalls& calls, int fd, std::string_view bytes);

// False when the content could not be replaced (the file is then as it was).
bool replaceFileContent(FileCalls& calls, const std::string& path, std::string_view bytes);

// Removes the temporary files that replacements of `path` interrupted by a killed process or a
// power cut left in its folder ("<name>.<process id>.tmp"); nothing else.
void removeTemporaryCopies(FileCalls& calls, const std::string& path);

} // namespace vostrel::platform
